#pragma once
// frmAbout: the splash window at start-up and the About box. Eleven lines of
// text from the top-left corner in 24-point bold; the splash writes the
// maker's notice with the copyright sign, the About box without it. The About
// box closes on a click; the splash ignores input and is closed by start-up.

#include <QStringList>
#include <QWidget>

namespace zl::gui {

class AboutWindow : public QWidget {
    Q_OBJECT
public:
    enum class Role { Splash, About };

    explicit AboutWindow(Role role, QWidget *parent = nullptr);

    Role role() const { return shownAs_; }
    QStringList lines() const { return textLines_; }
    static QStringList linesFor(Role role);
    static QFont textFont();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    Role shownAs_;
    QStringList textLines_;
};

}  // namespace zl::gui
