#pragma once

#include <QDialog>
#include <QLabel>
#include <QPushButton>

namespace twinfold
{

// The About box's companion: one line of text and "OK".
class SpecialBoxView : public QDialog
{
public:
    explicit SpecialBoxView(QWidget* parent = nullptr);

    QLabel* Line;
    QPushButton* OKButton;
};

} // namespace twinfold
