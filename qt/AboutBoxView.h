#pragma once

#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

class QMouseEvent;

namespace twinfold
{

// A panel that tells when it is double-clicked; the About box opens its companion from it.
class AboutPanel : public QFrame
{
    Q_OBJECT
public:
    using QFrame::QFrame;

Q_SIGNALS:
    void doubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

// The About box: the program's icon, name, version and copyright on a panel, and "OK".
class AboutBoxView : public QDialog
{
public:
    explicit AboutBoxView(QWidget* parent = nullptr);

    AboutPanel* Panel1;
    QLabel* ProgramIcon;
    QLabel* ProductName;
    QLabel* Version;
    QLabel* Copyright;
    QPushButton* OKButton;
};

} // namespace twinfold
