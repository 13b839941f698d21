#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

namespace twinfold
{

// The delete-directory dialog "Delete?": the path first in tab order, the subtree option, OK as
// the default button and Cancel on Escape.
class DeleteDialogView : public QDialog
{
public:
    explicit DeleteDialogView(QWidget* parent = nullptr);

    QLineEdit* Edit1;
    QCheckBox* DelSubdir;
    QPushButton* BitBtn2;
    QPushButton* BitBtn1;
};

} // namespace twinfold
