#include "windows/ChangedNameDelegate.h"

#include "rename/ChangedSpan.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>

ChangedNameDelegate::ChangedNameDelegate(int currentColumn, QObject *parent)
    : QStyledItemDelegate(parent)
    , m_currentColumn(currentColumn)
{
}

void ChangedNameDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                const QModelIndex &index) const
{
    QStyleOptionViewItem look = option;
    initStyleOption(&look, index);
    const QString newName = look.text;
    const ChangedSpan span =
        FindChangedSpan(index.siblingAtColumn(m_currentColumn).data().toString(), newName);
    if (span.length == 0 || newName.isEmpty()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    // Background, selection, focus and sign as usual; the text is ours.
    look.text.clear();
    const QWidget *view = option.widget;
    QStyle *style = view ? view->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &look, painter, view);

    const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &look, view);
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
    // A name too long for the column ends in "…", as the other columns do;
    // the mark covers what is left of the change.
    const QString shown =
        QFontMetrics(look.font).elidedText(newName, Qt::ElideRight, textRect.width() - 2 * margin);
    const qsizetype kept = shown == newName ? newName.size() : qMax<qsizetype>(0, shown.size() - 1);
    const qsizetype changedEnd = qMin(span.start + span.length, kept);
    QTextCharFormat changed;
    changed.setFontWeight(QFont::Bold);
    changed.setBackground(look.palette.color(QPalette::Highlight).lighter(170));
    changed.setForeground(look.palette.color(QPalette::Text));
    QTextLayout layout(shown, look.font);
    if (span.start < changedEnd)
        layout.setFormats({{int(span.start), int(changedEnd - span.start), changed}});
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(1e6);
    layout.endLayout();

    painter->save();
    painter->setClipRect(textRect);
    const QColor text = look.palette.color(look.state & QStyle::State_Selected ? QPalette::HighlightedText
                                                                                : QPalette::Text);
    painter->setPen(look.backgroundBrush.style() == Qt::NoBrush && index.data(Qt::ForegroundRole).isValid()
                        ? index.data(Qt::ForegroundRole).value<QColor>()
                        : text);
    const qreal top = textRect.top() + (textRect.height() - line.height()) / 2;
    layout.draw(painter, QPointF(textRect.left() + margin, top));
    painter->restore();
}
