#pragma once

#include <QDialog>
#include <QListWidget>
#include <QPushButton>

namespace twinfold
{

// The log window "Twinfold Log": the three result lists, each under its label with its Save
// button beside it, and Clear and OK below. OK is the default button.
class LogFileView : public QDialog
{
public:
    explicit LogFileView(QWidget* parent = nullptr);

    QListWidget* FileSuccess;
    QPushButton* SaveSuccess;
    QListWidget* FileOld;
    QPushButton* SaveOld;
    QListWidget* FileFailed;
    QPushButton* SaveFail;
    QPushButton* BitBtn2;
    QPushButton* BitBtn1;
};

} // namespace twinfold
