#pragma once
// The floating edit box of the equations grid: a line edit that reports when
// it gains the focus and hands the arrow keys to its owner instead of moving
// the caret.

#include <QLineEdit>

namespace zl::gui {

class CellEditBox : public QLineEdit {
    Q_OBJECT
public:
    explicit CellEditBox(QWidget *parent = nullptr);

signals:
    void focusReceived();
    void arrowKeyPressed(Qt::Key key);

protected:
    void focusInEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};

}  // namespace zl::gui
