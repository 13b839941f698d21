#include "PathLabel.h"

#include <QResizeEvent>

namespace twinfold
{

PathLabel::PathLabel(QWidget* parent) : QLabel(parent)
{
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    setTextFormat(Qt::PlainText);
}

void PathLabel::setPath(const QString& path)
{
    if (path == m_path)
        return;
    m_path = path;
    setToolTip(path);
    fit();
}

void PathLabel::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    if (event->size().width() != event->oldSize().width())
        fit();
}

void PathLabel::fit()
{
    // The two ends of a path tell it apart: the start names the tree, the end the directory.
    const int width = contentsRect().width();
    setText(fontMetrics().elidedText(m_path, Qt::ElideMiddle, std::max(width, 0)));
}

} // namespace twinfold
