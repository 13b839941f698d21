#include "DeleteDialogBinder.h"

#include "DeleteDialogView.h"

#include "app/Application.h"

namespace twinfold
{

DeleteDialogBinder::DeleteDialogBinder(Application& app, DeleteDialogView& view)
    : QObject(&view), m_app(app), m_dialog(app.Delete), m_view(view)
{
    auto showPath = [this](const std::string& path) {
        const QString text = QString::fromStdString(path);
        if (m_view.Edit1->text() != text)
            m_view.Edit1->setText(text);
    };
    showPath(m_dialog.Edit1.text());
    m_connections.push_back(m_dialog.Edit1.textChanged.connect(showPath));
    connect(view.Edit1, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_dialog.Edit1.setText(text.toStdString()); });

    view.DelSubdir->setChecked(m_dialog.DelSubdir.checked());
    m_connections.push_back(m_dialog.DelSubdir.checkedChanged.connect(
        [this](bool on) { m_view.DelSubdir->setChecked(on); }));
    connect(view.DelSubdir, &QCheckBox::clicked, this,
            [this](bool on) { m_app.command([this, on] { m_dialog.DelSubdir.setChecked(on); }); });

    connect(view.BitBtn2, &QPushButton::clicked, this, [this] { run(&TDelete::BitBtn2Click); });
    // Cancel, Escape and the close box all reject the dialog; each of them is Cancel.
    connect(&view, &QDialog::rejected, this, [this] { run(&TDelete::BitBtn1Click); });
    m_connections.push_back(m_dialog.shown.connect([this] {
        m_view.Edit1->setFocus();
        m_view.Edit1->selectAll();
    }));
}

void DeleteDialogBinder::run(void (TDelete::*handler)())
{
    TDelete& dialog = m_dialog;
    m_app.command([&dialog, handler] { (dialog.*handler)(); });
}

} // namespace twinfold
