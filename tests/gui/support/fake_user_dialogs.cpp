#include "support/fake_user_dialogs.h"

#include <QPrinter>

namespace zl::gui {

namespace {

template <typename T>
T takeOr(QQueue<T> &answers, T fallback) {
    return answers.isEmpty() ? fallback : answers.dequeue();
}

}  // namespace

void FakeUserDialogs::showScriptError(QWidget *parent, const QString &text) {
    recorded.append({Kind::ScriptError, text, parent});
}

void FakeUserDialogs::showMessage(QWidget *parent, const QString &text) {
    recorded.append({Kind::Message, text, parent});
}

bool FakeUserDialogs::confirmLongRun(QWidget *parent, const QString &text) {
    recorded.append({Kind::ConfirmLongRun, text, parent});
    return takeOr(longRunAnswers, false);
}

QMessageBox::StandardButton FakeUserDialogs::askDecimalComma(const QString &text) {
    recorded.append({Kind::DecimalComma, text, nullptr});
    return takeOr(decimalCommaAnswers, QMessageBox::Cancel);
}

QString FakeUserDialogs::openFileName(QWidget *parent) {
    recorded.append({Kind::OpenFile, QString(), parent});
    return takeOr(openFileAnswers, QString());
}

QString FakeUserDialogs::saveFileName(QWidget *parent) {
    recorded.append({Kind::SaveFile, QString(), parent});
    return takeOr(saveFileAnswers, QString());
}

QString FakeUserDialogs::exportFileName(QWidget *parent) {
    recorded.append({Kind::ExportFile, QString(), parent});
    return takeOr(exportFileAnswers, QString());
}

bool FakeUserDialogs::choosePrinter(QWidget *parent, QPrinter &printer) {
    recorded.append({Kind::Printer, QString(), parent});
    const bool accepted = takeOr(printerAnswers, false);
    if (accepted && !printerOutputFile.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printerOutputFile);
    }
    return accepted;
}

int FakeUserDialogs::count(Kind kind) const { return static_cast<int>(callsOf(kind).size()); }

QList<FakeUserDialogs::Call> FakeUserDialogs::callsOf(Kind kind) const {
    QList<Call> matching;
    for (const Call &call : recorded)
        if (call.kind == kind) matching.append(call);
    return matching;
}

}  // namespace zl::gui
