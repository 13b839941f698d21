#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace twinfold
{

// The input box: a prompt, one line of at most 255 characters, OK on Enter, Cancel on Escape.
class InputDialog : public QDialog
{
public:
    explicit InputDialog(QWidget* parent = nullptr);

    QLabel* prompt;
    QLineEdit* edit;
    QPushButton* ok;
    QPushButton* cancel;
};

} // namespace twinfold
