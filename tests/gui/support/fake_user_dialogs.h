#pragma once
// A UserDialogs for tests: records every call and answers from queues that the
// test fills beforehand. An empty queue gives the "cancel" answer, so a test
// that forgot to queue an answer sees a refusal, never a hang.

#include <QList>
#include <QPrinter>
#include <QQueue>
#include <QString>

#include "gui/user_dialogs.h"

namespace zl::gui {

class FakeUserDialogs : public UserDialogs {
public:
    enum class Kind { ScriptError, Message, ConfirmLongRun, DecimalComma, OpenFile, SaveFile, ExportFile, Printer };

    struct Call {
        Kind kind;
        QString text;     // message text; empty for the file and print dialogs
        QWidget *parent;  // nullptr for the decimal-comma box
    };

    void showScriptError(QWidget *parent, const QString &text) override { record(Kind::ScriptError, text, parent); }
    void showMessage(QWidget *parent, const QString &text) override { record(Kind::Message, text, parent); }
    bool confirmLongRun(QWidget *parent, const QString &text) override {
        return answer(Kind::ConfirmLongRun, text, parent, longRunAnswers, false);
    }
    QMessageBox::StandardButton askDecimalComma(const QString &text) override {
        return answer(Kind::DecimalComma, text, nullptr, decimalCommaAnswers, QMessageBox::Cancel);
    }
    QString openFileName(QWidget *parent) override { return answer(Kind::OpenFile, {}, parent, openFileAnswers, {}); }
    QString saveFileName(QWidget *parent) override { return answer(Kind::SaveFile, {}, parent, saveFileAnswers, {}); }
    QString exportFileName(QWidget *parent) override {
        return answer(Kind::ExportFile, {}, parent, exportFileAnswers, {});
    }
    bool choosePrinter(QWidget *parent, QPrinter &printer) override {
        const bool accepted = answer(Kind::Printer, {}, parent, printerAnswers, false);
        if (accepted && !printerOutputFile.isEmpty()) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(printerOutputFile);
        }
        return accepted;
    }

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
    int count(Kind kind) const { return static_cast<int>(callsOf(kind).size()); }
    QList<Call> callsOf(Kind kind) const {
        QList<Call> matching;
        for (const Call &call : recorded)
            if (call.kind == kind) matching.append(call);
        return matching;
    }

private:
    void record(Kind kind, const QString &text, QWidget *parent) { recorded.append({kind, text, parent}); }
    template <typename T>
    T answer(Kind kind, const QString &text, QWidget *parent, QQueue<T> &answers, T fallback) {
        record(kind, text, parent);
        return answers.isEmpty() ? fallback : answers.dequeue();
    }

    QList<Call> recorded;
};

}  // namespace zl::gui
