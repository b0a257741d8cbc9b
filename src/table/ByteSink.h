#pragma once

#include <QByteArray>

#include <functional>

// Where a writer puts its output, piece by piece and in order, so a large
// export goes to its file without ever being whole in memory. Returns false
// to stop the writer (the file could not take the bytes).
using ByteSink = std::function<bool(const QByteArray &bytes)>;
