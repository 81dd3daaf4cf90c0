#pragma once
// A UserDialogs for tests: records every call and answers from queues that the
// test fills beforehand. An empty queue gives the "cancel" answer, so a test
// that forgot to queue an answer sees a refusal, never a hang.

#include "gui/user_dialogs.h"

#include <QList>
#include <QQueue>
#include <QString>

namespace zl::gui {

class FakeUserDialogs : public UserDialogs {
public:
    enum class Kind { ScriptError, Message, ConfirmLongRun, DecimalComma, OpenFile, SaveFile, ExportFile, Printer };

    struct Call {
        Kind kind;
        QString text;     // message text; empty for the file and print dialogs
        QWidget *parent;  // nullptr for the decimal-comma box
    };

    void showScriptError(QWidget *parent, const QString &text) override;
    void showMessage(QWidget *parent, const QString &text) override;
    bool confirmLongRun(QWidget *parent, const QString &text) override;
    QMessageBox::StandardButton askDecimalComma(const QString &text) override;
    QString openFileName(QWidget *parent) override;
    QString saveFileName(QWidget *parent) override;
    QString exportFileName(QWidget *parent) override;
    bool choosePrinter(QWidget *parent, QPrinter &printer) override;

    // Answers, consumed in order.
    QQueue<QMessageBox::StandardButton> decimalCommaAnswers;  // default Cancel
    QQueue<bool> longRunAnswers;                              // default false (No)
    QQueue<QString> openFileAnswers;                          // default ""
    QQueue<QString> saveFileAnswers;                          // default ""
    QQueue<QString> exportFileAnswers;                        // default ""
    QQueue<bool> printerAnswers;                              // default false
    // When not empty, an accepted print dialog sends the job to this PDF file.
    QString printerOutputFile;

    const QList<Call> &calls() const { return recorded; }
    int count(Kind kind) const;
    QList<Call> callsOf(Kind kind) const;
    void clear() { recorded.clear(); }

private:
    QList<Call> recorded;
};

}  // namespace zl::gui
