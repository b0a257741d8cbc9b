#include "AppFixture.h"

#include "CategoryTreeModel.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QTreeView>

AppFixture::AppFixture() = default;

AppFixture::AppFixture(void (*writeLibrary)(AppFixture &))
{
    writeLibrary(*this);
}

AppFixture::~AppFixture()
{
    if (m_window)
        m_window->hide();
}

void AppFixture::writeLines(const QString &relative, const QStringList &lines)
{
    const QString file = path(relative);
    QDir().mkpath(QFileInfo(file).absolutePath());
    QFile f(file);
    f.open(QIODevice::WriteOnly);
    for (const QString &line : lines)
        f.write(line.toUtf8() + "\r\n");
}

MainWindow &AppFixture::start(const DateFormats &formats)
{
    m_window = std::make_unique<MainWindow>(m_dir.path(), m_dialogs, formats);
    return *m_window;
}

MainWindow &AppFixture::startWithOpen(const QString &catalog)
{
    start();
    if (!openCatalog(catalog))
        QTest::qFail(qPrintable("no catalog " + catalog + " in the tree"), __FILE__, __LINE__);
    return *m_window;
}

MainWindow &AppFixture::restart()
{
    close();
    return start();
}

void AppFixture::close()
{
    if (m_window)
        m_window->close();
    m_window.reset();
}

bool AppFixture::trigger(const QString &objectName)
{
    QAction *a = m_window->action(objectName);
    if (!a || !a->isEnabled())
        return false;
    a->trigger();
    return true;
}

bool AppFixture::clickCategory(const QString &name)
{
    CategoryTreeModel *model = m_window->treeModel();
    for (int i = 0; i < model->rowCount(); ++i) {
        const QModelIndex index = model->index(i, 0);
        if (model->nodeText(index) == name) {
            m_window->treeView()->setCurrentIndex(index);
            emit m_window->treeView()->clicked(index);
            return true;
        }
    }
    return false;
}

bool AppFixture::clickCatalog(const QString &name)
{
    CategoryTreeModel *model = m_window->treeModel();
    for (int i = 0; i < model->rowCount(); ++i) {
        const QModelIndex category = model->index(i, 0);
        for (int k = 0; k < model->rowCount(category); ++k) {
            const QModelIndex index = model->index(k, 0, category);
            if (model->nodeText(index) == name) {
                m_window->treeView()->setCurrentIndex(index);
                emit m_window->treeView()->clicked(index);
                return true;
            }
        }
    }
    return false;
}

bool AppFixture::openCatalog(const QString &name)
{
    if (!clickCatalog(name))
        return false;
    emit m_window->treeView()->doubleClicked(m_window->treeView()->currentIndex());
    return true;
}

QStringList AppFixture::treeCatalogs(const QString &category) const
{
    QStringList names;
    const CategoryTree &tree = m_window->state().tree;
    for (const auto &c : tree.categories()) {
        if (c.name == category)
            for (const auto &k : c.catalogs)
                names << k.name;
    }
    return names;
}
