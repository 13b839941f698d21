#include "SpecialBoxView.h"

#include "platform/Windowing.h"

#include <QVBoxLayout>

namespace twinfold
{

SpecialBoxView::SpecialBoxView(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      Line(new QLabel), OKButton(new QPushButton(QStringLiteral("OK")))
{
    setWindowTitle(QString::fromLatin1(ApplicationTitle));
    Line->setMinimumWidth(300);
    Line->setAlignment(Qt::AlignCenter);
    OKButton->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Line);
    layout->addWidget(OKButton, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace twinfold
