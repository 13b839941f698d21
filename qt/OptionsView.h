#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

class QKeyEvent;

namespace twinfold
{

// The options dialog "Options" in its designed keyboard order. It has no default button, so
// that Enter reaches the entry fields, and Escape presses Clear instead of closing it.
class OptionsView : public QDialog
{
public:
    explicit OptionsView(QWidget* parent = nullptr);

    QLineEdit* EditInclude;
    QPushButton* AddInclude;
    QLineEdit* EditExclude;
    QPushButton* AddExclude;
    QListView* IncludeList;
    QListView* ExcludeList;
    QGroupBox* CopyBuffer;
    QRadioButton* Mem32K;
    QRadioButton* Mem128K;
    QRadioButton* Mem256k;
    QRadioButton* Mem512k;
    QRadioButton* Mem1mb;
    QPushButton* Ok;
    QCheckBox* AutoContinue;
    QSpinBox* EditTimeShift;
    QSpinBox* EditJobs;
    QPushButton* Clear;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace twinfold
