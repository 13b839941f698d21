#include "OptionsView.h"

#include "BindingKit.h"
#include "Bindings.h"

#include "app/Application.h"
#include "engine/RunWindow.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

namespace twinfold
{

namespace
{

QPushButton* plainButton(const char* caption)
{
    auto* button = new QPushButton(QString::fromLatin1(caption));
    // A dialog's push buttons would otherwise take Enter from the entry fields.
    button->setAutoDefault(false);
    return button;
}

QListView* filterList()
{
    auto* list = new QListView;
    list->setToolTip(QStringLiteral("DoubleClick to Remove"));
    list->setMinimumSize(150, 120);
    return list;
}

QLabel* labelFor(const char* text, QWidget* buddy)
{
    auto* label = new QLabel(QString::fromLatin1(text));
    label->setBuddy(buddy);
    return label;
}

} // namespace

OptionsView::OptionsView(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      EditInclude(new QLineEdit), AddInclude(plainButton("Add")), EditExclude(new QLineEdit),
      AddExclude(plainButton("Add")), IncludeList(filterList()), ExcludeList(filterList()),
      CopyBuffer(new QGroupBox(QStringLiteral("Copy Buffer Size"))),
      Mem32K(new QRadioButton(QStringLiteral("32K (default)"))),
      Mem128K(new QRadioButton(QStringLiteral("128K"))),
      Mem256k(new QRadioButton(QStringLiteral("256K"))),
      Mem512k(new QRadioButton(QStringLiteral("512K"))),
      Mem1mb(new QRadioButton(QStringLiteral("1 MB"))), Ok(plainButton("OK")),
      AutoContinue(new QCheckBox(QStringLiteral("Auto-Continue thru errors and Log them "))),
      EditTimeShift(new QSpinBox), EditJobs(new QSpinBox), Clear(plainButton("Clear"))
{
    setWindowTitle(QStringLiteral("Options"));
    CopyBuffer->setToolTip(QStringLiteral("Change buffer size"));
    Mem32K->setChecked(true);
    auto* sizes = new QVBoxLayout(CopyBuffer);
    for (QRadioButton* size : {Mem32K, Mem128K, Mem256k, Mem512k, Mem1mb})
        sizes->addWidget(size);

    auto* filters = new QGridLayout;
    filters->addWidget(labelFor("Include:", EditInclude), 0, 0);
    filters->addWidget(EditInclude, 1, 0);
    filters->addWidget(AddInclude, 1, 1);
    filters->addWidget(labelFor("Exclude:", EditExclude), 0, 2);
    filters->addWidget(EditExclude, 1, 2);
    filters->addWidget(AddExclude, 1, 3);
    filters->addWidget(labelFor("Include Filters:", IncludeList), 2, 0, 1, 2);
    filters->addWidget(IncludeList, 3, 0, 1, 2);
    filters->addWidget(labelFor("Exclude Filters:", ExcludeList), 2, 2, 1, 2);
    filters->addWidget(ExcludeList, 3, 2, 1, 2);

    auto* right = new QVBoxLayout;
    right->addWidget(CopyBuffer);
    right->addStretch();
    right->addWidget(Ok);
    auto* top = new QHBoxLayout;
    top->addLayout(filters);
    top->addLayout(right);
    EditTimeShift->setRange(-24, 24);
    EditTimeShift->setSuffix(QStringLiteral(" h"));
    EditTimeShift->setToolTip(
        QStringLiteral("Hours the destination's times read late (negative: early), as on a FAT "
                       "or exFAT volume written in another time zone; 0: none set, a clear "
                       "late shift is compensated by the run"));
    EditJobs->setRange(1, MaxJobs);
    EditJobs->setToolTip(
        QStringLiteral("How many file lookups a run keeps in flight: more hide the round trips "
                       "of a network share; 1 looks up one file after the other"));
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(AutoContinue);
    bottom->addStretch();
    bottom->addWidget(labelFor("Time shift:", EditTimeShift));
    bottom->addWidget(EditTimeShift);
    bottom->addWidget(labelFor("Jobs:", EditJobs));
    bottom->addWidget(EditJobs);
    bottom->addWidget(Clear);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(bottom);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    QWidget* const order[] = {EditInclude,  AddInclude,    EditExclude, AddExclude,
                              IncludeList,  ExcludeList,   Mem32K,      Mem128K,
                              Mem256k,      Mem512k,       Mem1mb,      Ok,
                              AutoContinue, EditTimeShift, EditJobs,    Clear};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void OptionsView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        Clear->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void bindOptions(BindingKit& kit, Application& app, OptionsView& view)
{
    TOptionsbx& options = app.Optionsbx;
    auto call = [&options](void (TOptionsbx::*handler)()) {
        return BindingKit::call(options, handler);
    };
    kit.text(options.EditInclude, view.EditInclude);
    kit.text(options.EditExclude, view.EditExclude);
    kit.press(view.EditInclude, [&options] { options.EditIncludeKeyDown(TOptionsbx::VK_RETURN); });
    kit.press(view.EditExclude, [&options] { options.EditExcludeKeyDown(TOptionsbx::VK_RETURN); });
    kit.list(options.IncludeList, view.IncludeList, {}, call(&TOptionsbx::IncludeListDblClick));
    kit.list(options.ExcludeList, view.ExcludeList, {}, call(&TOptionsbx::ExcludeListDblClick));
    kit.press(view.AddInclude, call(&TOptionsbx::AddIncludeClick));
    kit.press(view.AddExclude, call(&TOptionsbx::AddExcludeClick));
    kit.press(view.Clear, call(&TOptionsbx::ClearClick));
    kit.press(view.Ok, call(&TOptionsbx::OkClick));
    kit.radios(options.CopyBuffer,
               {view.Mem32K, view.Mem128K, view.Mem256k, view.Mem512k, view.Mem1mb},
               {call(&TOptionsbx::Mem32KClick), call(&TOptionsbx::Mem128KClick),
                call(&TOptionsbx::Mem256kClick), call(&TOptionsbx::Mem512kClick),
                call(&TOptionsbx::Mem1mbClick)});
    kit.check(options.AutoContinue, view.AutoContinue);
    kit.number(options.EditTimeShift, view.EditTimeShift, call(&TOptionsbx::EditTimeShiftChange));
    kit.number(options.EditJobs, view.EditJobs, call(&TOptionsbx::EditJobsChange));
    // Only the close box rejects: Escape presses Clear in this dialog.
    kit.rejected(&view, call(&TOptionsbx::closeBoxClicked));
}

} // namespace twinfold
