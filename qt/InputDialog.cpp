#include "InputDialog.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>

namespace twinfold
{

InputDialog::InputDialog(QWidget* parent)
    : QDialog(parent), prompt(new QLabel(this)), edit(new QLineEdit(this)),
      ok(new QPushButton(QStringLiteral("OK"), this)),
      cancel(new QPushButton(QStringLiteral("Cancel"), this))
{
    edit->setMaxLength(255);
    edit->setMinimumWidth(320);
    prompt->setBuddy(edit);
    ok->setDefault(true);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(ok, QDialogButtonBox::AcceptRole);
    buttons->addButton(cancel, QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addWidget(edit);
    layout->addWidget(buttons);
}

} // namespace twinfold
