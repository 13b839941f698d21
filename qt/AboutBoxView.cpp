#include "AboutBoxView.h"

#include <QGridLayout>
#include <QIcon>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace twinfold
{

void AboutPanel::mouseDoubleClickEvent(QMouseEvent* event)
{
    Q_EMIT doubleClicked();
    event->accept();
}

AboutBoxView::AboutBoxView(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      Panel1(new AboutPanel), ProgramIcon(new QLabel), ProductName(new QLabel), Version(new QLabel),
      Copyright(new QLabel), OKButton(new QPushButton(QStringLiteral("OK")))
{
    setWindowTitle(QStringLiteral("About"));
    Panel1->setFrameShape(QFrame::StyledPanel);
    Panel1->setFrameShadow(QFrame::Sunken);
    QFont big = ProductName->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.5);
    ProductName->setFont(big);
    auto* panel = new QGridLayout(Panel1);
    panel->addWidget(ProgramIcon, 0, 0, 3, 1, Qt::AlignTop);
    panel->addWidget(ProductName, 0, 1);
    panel->addWidget(Version, 1, 1);
    panel->addWidget(Copyright, 2, 1);
    panel->setColumnMinimumWidth(1, 260);
    OKButton->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Panel1);
    layout->addWidget(OKButton, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace twinfold
