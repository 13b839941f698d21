#pragma once

#include <QLabel>

namespace twinfold
{

// A label that shows a path shortened in the middle to the width it is given, and shortens it
// again whenever that width changes; the full path is its tooltip. The layouts pass over its
// width hint, so that a long path never widens the window around it.
class PathLabel : public QLabel
{
public:
    explicit PathLabel(QWidget* parent = nullptr);

    void setPath(const QString& path);
    QString path() const { return m_path; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void fit();

    QString m_path;
};

} // namespace twinfold
