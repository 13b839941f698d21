#pragma once

#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace twinfold
{

// The About box: the program's icon, name, version and copyright on a panel, and "OK". A
// double click on the panel opens its companion.
class AboutBoxView : public QDialog
{
public:
    explicit AboutBoxView(QWidget* parent = nullptr);

    QFrame* Panel1;
    QLabel* ProgramIcon;
    QLabel* ProductName;
    QLabel* Version;
    QLabel* Copyright;
    QPushButton* OKButton;
};

// The About box's companion: one line of text and "OK".
class SpecialBoxView : public QDialog
{
public:
    explicit SpecialBoxView(QWidget* parent = nullptr);

    QLabel* Line;
    QPushButton* OKButton;
};

} // namespace twinfold
