#include "FeatureController.h"

FeatureController::FeatureController(AppContext &context, QObject *parent) : QObject(parent), m_ctx(context)
{}
