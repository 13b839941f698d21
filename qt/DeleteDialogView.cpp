#include "DeleteDialogView.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace twinfold
{

DeleteDialogView::DeleteDialogView(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      Label1(new QLabel(QStringLiteral("Delete Files in Directory:"))), Edit1(new QLineEdit),
      DelSubdir(new QCheckBox(QStringLiteral("Delete All SubDirectories and Files"))),
      BitBtn2(new QPushButton(QStringLiteral("OK"))),
      BitBtn1(new QPushButton(QStringLiteral("Cancel")))
{
    setWindowTitle(QStringLiteral("Delete?"));
    Label1->setBuddy(Edit1);
    BitBtn2->setDefault(true);
    BitBtn1->setAutoDefault(false);
    // QDialog maps Escape to reject(), which is what Cancel does.
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(DelSubdir);
    buttons->addStretch();
    buttons->addWidget(BitBtn2);
    buttons->addWidget(BitBtn1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Edit1);
    layout->addLayout(buttons);
    // The designed client area is 475 by 97; the height follows the font instead.
    setFixedWidth(475);
    setFixedHeight(sizeHint().height());
    setTabOrder(Edit1, DelSubdir);
    setTabOrder(DelSubdir, BitBtn2);
    setTabOrder(BitBtn2, BitBtn1);
    Edit1->setFocus();
}

} // namespace twinfold
