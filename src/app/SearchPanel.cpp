#include "SearchPanel.h"

#include "PanelWidgets.h"

#include "CheckTreeView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using PanelWidgets::named;

namespace {

const QString kDateHint = QStringLiteral("Formats supported:\nMM/DD/YY\nDD/MM/YY\nYY/MM/DD");
constexpr int kMaxWordLength = 30;

QStringList extensionItems()
{
    return {QStringLiteral("*"),      QStringLiteral("*."),     QStringLiteral("*.*"),
            QStringLiteral("*.00?"),  QStringLiteral("*.bmp"),  QStringLiteral("*.doc"),
            QStringLiteral("*.exe"),  QStringLiteral("*.gif"),  QStringLiteral("*.htm"),
            QStringLiteral("*.html"), QStringLiteral("*.jpeg"), QStringLiteral("*.rtf"),
            QStringLiteral("*.txt"),  QStringLiteral("*.wav"),  QStringLiteral("*.zip")};
}

QComboBox *editableCombo(QWidget *parent, const char *name)
{
    auto *combo = named(new QComboBox(parent), name);
    combo->setEditable(true);
    // ENTER starts a search; it must not add the text to the list.
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setMinimumContentsLength(16);
    return combo;
}

bool isEnter(QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<QKeyEvent *>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

SearchPanel::SearchPanel(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(new QLabel(QStringLiteral("Check categories you wish to search"), this));
    m_tree = named(new CheckTreeView(this), "TreeView2");
    m_tree->setMinimumSize(260, 120);
    m_tree->setAccessibleName(QStringLiteral("Check categories you wish to search"));
    layout->addWidget(m_tree, 1);
    layout->addWidget(createModes());

    auto *buttons = new QHBoxLayout;
    m_search = named(new QPushButton(QStringLiteral("Search"), this), "Searchbtn");
    m_stop = named(new QPushButton(QStringLiteral("Stop"), this), "Stopsearch");
    m_close = named(new QPushButton(QStringLiteral("Close"), this), "Closebtn");
    m_stop->setEnabled(false);
    for (QPushButton *b : {m_search, m_stop, m_close})
        buttons->addWidget(b);
    layout->addLayout(buttons);

    connect(m_search, &QPushButton::clicked, this, &SearchPanel::searchClicked);
    connect(m_stop, &QPushButton::clicked, this, &SearchPanel::stopClicked);
    connect(m_close, &QPushButton::clicked, this, &SearchPanel::closeClicked);
    connect(m_clearHistory, &QPushButton::clicked, this, &SearchPanel::clearHistoryClicked);
    for (QWidget *w :
         {static_cast<QWidget *>(m_searchWord->lineEdit()), static_cast<QWidget *>(m_byWord),
          static_cast<QWidget *>(m_extension->lineEdit()), static_cast<QWidget *>(m_byExtension),
          static_cast<QWidget *>(m_from), static_cast<QWidget *>(m_to), static_cast<QWidget *>(m_byDate)})
        watchEnter(w);
}

QWidget *SearchPanel::createModes()
{
    auto *group = new QGroupBox(QStringLiteral("Search:"), this);
    auto *grid = new QGridLayout(group);
    m_byWord = named(new QRadioButton(QStringLiteral("By Word/Phrase"), group), "Rbword");
    m_byWord->setChecked(true);
    m_caseSensitive = named(new QCheckBox(QStringLiteral("Case Sensitive"), group), "Casesearch");
    m_searchWord = editableCombo(group, "Searchword");
    m_searchWord->lineEdit()->setMaxLength(kMaxWordLength);
    m_searchWord->setAccessibleName(QStringLiteral("Search Word/Phrase"));
    m_searchWord->lineEdit()->setAccessibleName(m_searchWord->accessibleName());
    m_searchWord->setToolTip(QStringLiteral("Wild cards * and/or ? are accepted."));
    m_clearHistory = named(new QPushButton(QStringLiteral("Clear History"), group), "Clearhistory");
    m_clearHistory->setToolTip(QStringLiteral("Click to clear history list."));

    m_byExtension = named(new QRadioButton(QStringLiteral("By File Extension"), group), "Rbext");
    m_extension = editableCombo(group, "Extcombo");
    m_extension->addItems(extensionItems());
    m_extension->setAccessibleName(QStringLiteral("File Extension"));
    m_extension->lineEdit()->setAccessibleName(m_extension->accessibleName());
    m_extension->setCurrentText(QStringLiteral("*.*"));

    m_byDate = named(new QRadioButton(QStringLiteral("By Files Dated"), group), "Rbdate");
    m_from = named(new QLineEdit(QStringLiteral("06/24/97"), group), "Fromdate");
    m_to = named(new QLineEdit(QStringLiteral("06/14/98"), group), "Todate");
    auto *dates = new QHBoxLayout;
    for (QLineEdit *edit : {m_from, m_to}) {
        edit->setToolTip(kDateHint);
        edit->setMaximumWidth(90);
    }
    dates->addWidget(PanelWidgets::label(group, QStringLiteral("From:"), m_from));
    dates->addWidget(m_from);
    dates->addWidget(PanelWidgets::label(group, QStringLiteral("To:"), m_to));
    dates->addWidget(m_to);
    dates->addStretch(1);

    grid->addWidget(m_byWord, 0, 0);
    grid->addWidget(m_caseSensitive, 0, 1);
    grid->addWidget(m_searchWord, 1, 0);
    grid->addWidget(m_clearHistory, 1, 1);
    grid->addWidget(m_byExtension, 2, 0, 1, 2);
    grid->addWidget(m_extension, 3, 0);
    grid->addWidget(m_byDate, 4, 0, 1, 2);
    grid->addLayout(dates, 5, 0, 1, 2);
    return group;
}

CatalogSearch::Mode SearchPanel::mode() const
{
    if (m_byExtension->isChecked())
        return CatalogSearch::Mode::Extension;
    if (m_byDate->isChecked())
        return CatalogSearch::Mode::Date;
    return CatalogSearch::Mode::Word;
}

void SearchPanel::showCategories(const CategoryTree &tree)
{
    m_tree->rebuild(tree);
}

CheckTree SearchPanel::tickedCatalogs() const
{
    return m_tree->checkTree();
}

void SearchPanel::chooseEveryFile()
{
    m_tree->setAllChecked(true);
    m_byExtension->setChecked(true);
    m_extension->setCurrentText(QStringLiteral("*.*"));
}

CatalogSearch::Request SearchPanel::request() const
{
    CatalogSearch::Request r;
    r.mode = mode();
    r.word = m_searchWord->currentText();
    r.caseSensitive = m_caseSensitive->isChecked();
    r.extension = m_extension->currentText();
    r.from = m_from->text();
    r.to = m_to->text();
    return r;
}

void SearchPanel::setHistory(const QStringList &words)
{
    const QString text = m_searchWord->currentText();
    m_searchWord->clear();
    m_searchWord->addItems(words);
    m_searchWord->setCurrentText(text);
}

QStringList SearchPanel::history() const
{
    QStringList words;
    for (int i = 0; i < m_searchWord->count(); ++i)
        words << m_searchWord->itemText(i);
    return words;
}

void SearchPanel::prepare()
{
    m_searchWord->setCurrentText(QString());
    m_searchWord->setFocus();
}

void SearchPanel::setRunning(bool running)
{
    m_search->setEnabled(!running);
    m_close->setEnabled(!running);
    m_stop->setEnabled(running);
}

void SearchPanel::watchEnter(QWidget *widget)
{
    widget->installEventFilter(this);
}

bool SearchPanel::enterStarts(QObject *watched) const
{
    if (watched == m_searchWord->lineEdit() || watched == m_byWord)
        return m_byWord->isChecked() && !m_searchWord->currentText().isEmpty();
    if (watched == m_extension->lineEdit() || watched == m_byExtension)
        return m_byExtension->isChecked() && !m_extension->currentText().isEmpty();
    if (watched == m_from || watched == m_to || watched == m_byDate)
        return m_byDate->isChecked() && !m_from->text().isEmpty() && !m_to->text().isEmpty();
    return false;
}

bool SearchPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (isEnter(event)) {
        if (enterStarts(watched))
            emit enterSearch();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
