#include "OptionsBinder.h"

#include "ListBoxBinding.h"
#include "OptionsView.h"

#include "app/Application.h"

namespace twinfold
{

OptionsBinder::OptionsBinder(Application& app, OptionsView& view)
    : QObject(&view), m_app(app), m_options(app.Optionsbx), m_view(view)
{
    bindListBox(m_connections, m_options.IncludeList, view.IncludeList);
    bindListBox(m_connections, m_options.ExcludeList, view.ExcludeList);
    // The fields follow the model's texts, whoever changes them.
    m_connections.push_back(
        m_options.EditInclude.textChanged.connect([this](const std::string&) { showFields(); }));
    m_connections.push_back(
        m_options.EditExclude.textChanged.connect([this](const std::string&) { showFields(); }));
    m_connections.push_back(m_options.EditInclude.focusRequested.connect(
        [this] { m_view.EditInclude->setFocus(Qt::OtherFocusReason); }));
    m_connections.push_back(m_options.EditExclude.focusRequested.connect(
        [this] { m_view.EditExclude->setFocus(Qt::OtherFocusReason); }));
    connect(view.EditInclude, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_options.EditInclude.setText(text.toStdString()); });
    connect(view.EditExclude, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_options.EditExclude.setText(text.toStdString()); });
    connect(view.EditInclude, &QLineEdit::returnPressed, this, [this] {
        m_app.command([this] { m_options.EditIncludeKeyDown(TOptionsbx::VK_RETURN); });
        showFields();
    });
    connect(view.EditExclude, &QLineEdit::returnPressed, this, [this] {
        m_app.command([this] { m_options.EditExcludeKeyDown(TOptionsbx::VK_RETURN); });
        showFields();
    });
    auto button = [this](QAbstractButton* widget, void (TOptionsbx::*handler)()) {
        connect(widget, &QAbstractButton::clicked, this, [this, handler] { run(handler); });
    };
    button(view.AddInclude, &TOptionsbx::AddIncludeClick);
    button(view.AddExclude, &TOptionsbx::AddExcludeClick);
    button(view.Clear, &TOptionsbx::ClearClick);
    button(view.Ok, &TOptionsbx::OkClick);
    button(view.Mem32K, &TOptionsbx::Mem32KClick);
    button(view.Mem128K, &TOptionsbx::Mem128KClick);
    button(view.Mem256k, &TOptionsbx::Mem256kClick);
    button(view.Mem512k, &TOptionsbx::Mem512kClick);
    button(view.Mem1mb, &TOptionsbx::Mem1mbClick);
    connect(view.AutoContinue, &QCheckBox::clicked, this, [this](bool on) {
        m_options.AutoContinue.setChecked(on);
        run(&TOptionsbx::AutoContinueClick);
    });
    connect(view.IncludeList, &QListWidget::itemDoubleClicked, this,
            [this] { run(&TOptionsbx::IncludeListDblClick); });
    connect(view.ExcludeList, &QListWidget::itemDoubleClicked, this,
            [this] { run(&TOptionsbx::ExcludeListDblClick); });

    QRadioButton* sizes[] = {view.Mem32K, view.Mem128K, view.Mem256k, view.Mem512k, view.Mem1mb};
    auto showSize = [sizes](int index) {
        if (index >= 0 && index < int(std::size(sizes)))
            sizes[index]->setChecked(true);
    };
    showSize(m_options.CopyBuffer.checkedIndex());
    m_connections.push_back(m_options.CopyBuffer.checkedChanged.connect(showSize));
    view.AutoContinue->setChecked(m_options.AutoContinue.checked());
    m_connections.push_back(m_options.AutoContinue.checkedChanged.connect(
        [this](bool on) { m_view.AutoContinue->setChecked(on); }));
    // The spin box holds whole hours within range; the model checks them all the same.
    auto showTimeShift = [this](const std::string& text) {
        bool number = false;
        const int hours = QString::fromStdString(text).toInt(&number);
        if (number && m_view.EditTimeShift->value() != hours)
            m_view.EditTimeShift->setValue(hours);
    };
    showTimeShift(m_options.EditTimeShift.text());
    m_connections.push_back(m_options.EditTimeShift.textChanged.connect(showTimeShift));
    connect(view.EditTimeShift, &QSpinBox::valueChanged, this, [this](int hours) {
        m_options.EditTimeShift.setText(std::to_string(hours));
        run(&TOptionsbx::EditTimeShiftChange);
    });
    m_connections.push_back(m_options.shown.connect([this] { showFields(); }));
    // Only the close box rejects: Escape presses Clear in this dialog.
    connect(&view, &QDialog::rejected, this,
            [this] { m_app.command([this] { m_options.closeBoxClicked(); }); });
}

void OptionsBinder::run(void (TOptionsbx::*handler)())
{
    m_app.command([&options = m_options, handler] { (options.*handler)(); });
    showFields();
}

void OptionsBinder::showFields()
{
    const QString include = QString::fromStdString(m_options.EditInclude.text());
    if (m_view.EditInclude->text() != include)
        m_view.EditInclude->setText(include);
    const QString exclude = QString::fromStdString(m_options.EditExclude.text());
    if (m_view.EditExclude->text() != exclude)
        m_view.EditExclude->setText(exclude);
}

} // namespace twinfold
