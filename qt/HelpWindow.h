#pragma once

#include <QTextBrowser>
#include <QWidget>

namespace twinfold
{

// The help viewer: the pages compiled into the program, reached by topic number; 0 is the
// contents.
class HelpWindow : public QWidget
{
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    void showTopic(int topic);
    static QUrl topicUrl(int topic);

    QTextBrowser* browser;
};

} // namespace twinfold
