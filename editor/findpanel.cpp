#include "findpanel.h"

#include <QApplication>
#include <QBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QShortcut>
#include <QStyledItemDelegate>
#include <QTextLayout>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace shelvio {

namespace {

// A found book in the list: the title in bold, then the author and year,
// then where else a word was found; what matches is marked.
class FoundBookDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    static constexpr int margin = 3;
    static FoundBookLines linesOf(const QModelIndex& index)
    {
        const auto* model = static_cast<const FoundBooksModel*>(index.model());
        return foundBookLines(model->bookAt(index.row()), model->terms());
    }
};

// The marker of a matched stretch: light enough for black text on it.
const QColor markColour{255, 222, 89};

void drawLine(QPainter* painter, QPointF at, const QFont& font, const QString& text,
              const QList<TextRange>& marks)
{
    QTextLayout layout(text, font);
    QList<QTextLayout::FormatRange> formats;
    for (const TextRange& mark : marks) {
        QTextLayout::FormatRange range;
        range.start = int(mark.start);
        range.length = int(mark.length);
        range.format.setBackground(markColour);
        range.format.setForeground(QColor(Qt::black));
        formats << range;
    }
    layout.setFormats(formats);
    QTextOption noWrap;
    noWrap.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(noWrap);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    layout.draw(painter, at);
}

void FoundBookDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const
{
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    item.text.clear(); // the background, selection and focus only
    const QWidget* view = option.widget;
    QStyle* style = view ? view->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, view);

    const FoundBookLines lines = linesOf(index);
    const bool selected = option.state & QStyle::State_Selected;
    QFont bold = option.font;
    bold.setBold(true);
    const qreal lineHeight = QFontMetricsF(bold).lineSpacing();
    QPointF at = option.rect.topLeft() + QPointF(margin, margin);
    painter->save();
    painter->setClipRect(option.rect.adjusted(margin, 0, -margin, 0));
    painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    drawLine(painter, at, bold, lines.title, lines.titleMarks);
    drawLine(painter, at + QPointF(0, lineHeight), option.font, lines.byline, lines.bylineMarks);
    if (!lines.detail.isEmpty()) {
        QFont italic = option.font;
        italic.setItalic(true);
        drawLine(painter, at + QPointF(0, 2 * lineHeight), italic, lines.detail, lines.detailMarks);
    }
    painter->restore();
}

QSize FoundBookDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QFont bold = option.font;
    bold.setBold(true);
    const int lineCount = linesOf(index).detail.isEmpty() ? 2 : 3;
    const int height = qCeil(QFontMetricsF(bold).lineSpacing() * lineCount) + 2 * margin;
    return {option.rect.width(), height};
}

} // namespace

FindPanel::FindPanel(CatalogueSearch& search, QWidget* parent)
    : QFrame(parent)
    , m_searchBox(new QLineEdit(this))
    , m_close(new QToolButton(this))
    , m_count(new QLabel(this))
    , m_list(new QListView(this))
    , m_model(search)
{
    setObjectName(u"FindBar"_s);
    setAccessibleName(u"Find"_s);
    setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    setAutoFillBackground(true);

    auto* caption = new QLabel(u"Find:"_s, this);
    caption->setBuddy(m_searchBox);
    m_searchBox->setObjectName(u"txtFind"_s);
    m_searchBox->setAccessibleName(u"Find books"_s);
    m_searchBox->setPlaceholderText(u"Title, author, category, comments"_s);
    m_searchBox->setClearButtonEnabled(true);
    m_close->setObjectName(u"cmdCloseFind"_s);
    m_close->setText(u"✕"_s);
    m_close->setAccessibleName(u"Close Find"_s);
    m_close->setToolTip(u"Close (Escape)"_s);
    m_close->setAutoRaise(true);
    m_close->setFocusPolicy(Qt::NoFocus); // Escape does the same from the keyboard
    m_count->setObjectName(u"lblFindCount"_s);
    m_list->setObjectName(u"lstFound"_s);
    m_list->setAccessibleName(u"Books found"_s);
    m_list->setModel(&m_model);
    m_list->setItemDelegate(new FoundBookDelegate(m_list));
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(caption);
    searchRow->addWidget(m_searchBox, 1);
    searchRow->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(searchRow);
    layout->addWidget(m_count);
    layout->addWidget(m_list, 1);

    connect(m_searchBox, &QLineEdit::textChanged, this, &FindPanel::textEdited);
    connect(m_list, &QListView::doubleClicked, this, &FindPanel::chooseCurrent);
    connect(m_close, &QToolButton::clicked, this, &FindPanel::closeRequested);
    auto* escape =
        new QShortcut(QKeySequence(Qt::Key_Escape), this, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, this, &FindPanel::closeRequested);
    m_searchBox->installEventFilter(this);
    m_list->installEventFilter(this);
}

void FindPanel::open()
{
    show();
    raise();
    m_searchBox->setFocus();
    m_searchBox->selectAll();
}

QString FindPanel::text() const
{
    return m_searchBox->text();
}

void FindPanel::showFound(const QList<qint64>& bookIds, const SearchTerms& terms)
{
    m_model.show(bookIds, terms);
    if (!m_model.problem().isEmpty()) {
        showProblem(m_model.problem());
        return;
    }
    if (terms.isEmpty())
        m_count->clear();
    else
        showCount(bookIds.size());
    if (m_model.rowCount() > 0)
        m_list->setCurrentIndex(m_model.index(0));
}

void FindPanel::showCount(qsizetype count)
{
    if (count == 0)
        m_count->setText(u"No books found"_s);
    else if (count == 1)
        m_count->setText(u"1 book found"_s);
    else
        m_count->setText(u"%L1 books found"_s.arg(count));
}

void FindPanel::showProblem(const QString& problem)
{
    m_model.clear();
    m_count->setText(u"The books could not be searched: %1"_s.arg(problem));
}

void FindPanel::chooseCurrent()
{
    const QModelIndex current = m_list->currentIndex();
    const int row = current.isValid() ? current.row() : 0;
    if (const std::optional<qint64> id = m_model.bookIdAt(row))
        emit bookChosen(*id);
}

void FindPanel::moveCurrent(int rows)
{
    const int count = m_model.rowCount();
    if (count == 0)
        return;
    const QModelIndex current = m_list->currentIndex();
    const int row = std::clamp((current.isValid() ? current.row() : -1) + rows, 0, count - 1);
    m_list->setCurrentIndex(m_model.index(row));
}

// The search box steers the list as a combo box's does: the arrow and page
// keys move through the books found and Enter opens the current one.
bool FindPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QFrame::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        chooseCurrent();
        return true;
    }
    if (watched != m_searchBox)
        return QFrame::eventFilter(watched, event);
    const int page = std::max(1, m_list->viewport()->height() / std::max(1, m_list->sizeHintForRow(0)));
    const int step = key == Qt::Key_Down       ? 1
                     : key == Qt::Key_Up       ? -1
                     : key == Qt::Key_PageDown ? page
                     : key == Qt::Key_PageUp   ? -page
                                               : 0;
    if (step == 0)
        return QFrame::eventFilter(watched, event);
    moveCurrent(step);
    return true;
}

} // namespace shelvio
