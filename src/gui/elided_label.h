#pragma once
// A label for text the user typed (a variable name, the list of names): it
// never asks for more width than a short text needs, so a long name cannot
// make its window wider than the screen. Text beyond the width it gets ends
// in "..."; the whole text stays its text() and shows as its tool tip.

#include <QLabel>

namespace zl::gui {

class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    explicit ElidedLabel(const QString &text, QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;

private:
    /// The width of this many average characters is all the label asks for.
    static constexpr int kWidthInCharacters = 24;
    QString shownText() const;
};

}  // namespace zl::gui
