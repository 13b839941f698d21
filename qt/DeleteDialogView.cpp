#include "DialogViews.h"

#include "BindingKit.h"
#include "Bindings.h"

#include "app/Application.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace twinfold
{

DeleteDialogView::DeleteDialogView(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      Edit1(new QLineEdit),
      DelSubdir(new QCheckBox(QStringLiteral("Delete All SubDirectories and Files"))),
      BitBtn2(new QPushButton(QStringLiteral("OK"))),
      BitBtn1(new QPushButton(QStringLiteral("Cancel")))
{
    setWindowTitle(QStringLiteral("Delete?"));
    auto* label = new QLabel(QStringLiteral("Delete Files in Directory:"));
    label->setBuddy(Edit1);
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
    layout->addWidget(label);
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

void bindDeleteDialog(BindingKit& kit, Application& app, DeleteDialogView& view)
{
    TDelete& dialog = app.Delete;
    kit.text(dialog.Edit1, view.Edit1);
    kit.check(dialog.DelSubdir, view.DelSubdir);
    kit.press(view.BitBtn2, BindingKit::call(dialog, &TDelete::BitBtn2Click));
    // Cancel, Escape and the close box all reject the dialog; each of them is Cancel.
    kit.rejected(&view, BindingKit::call(dialog, &TDelete::BitBtn1Click));
    kit.follow(dialog.shown, [&view] {
        view.Edit1->setFocus();
        view.Edit1->selectAll();
    });
}

} // namespace twinfold
