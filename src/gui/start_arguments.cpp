#include "gui/start_arguments.h"

#include "program_version.h"

namespace zl::gui {

namespace {

const QString kUsage = QStringLiteral("Usage: zerolith [FILE]\n"
                                      "Opens the Zerolith window; with FILE, opens that problem file in it.\n"
                                      "  --version  Shows the program's version.\n"
                                      "  --help     Shows this text.\n");

StartArguments refuse(const QString &why) {
    return {StartArguments::Action::Refuse, QString(), QStringLiteral("zerolith: %1 (try --help)\n").arg(why)};
}

}  // namespace

StartArguments readStartArguments(const QStringList &arguments) {
    StartArguments start;
    bool options = true;
    for (const QString &argument : arguments) {
        if (options && argument == QLatin1String("--")) {
            options = false;
        } else if (options && argument == QLatin1String("--version")) {
            const auto version = QString::fromUtf8(kProgramVersion.data(), qsizetype(kProgramVersion.size()));
            return {StartArguments::Action::PrintVersion, QString(), QStringLiteral("zerolith %1\n").arg(version)};
        } else if (options && (argument == QLatin1String("--help") || argument == QLatin1String("-h"))) {
            return {StartArguments::Action::PrintUsage, QString(), kUsage};
        } else if (options && argument.startsWith(QLatin1Char('-')) && argument.size() > 1) {
            return refuse(QStringLiteral("unknown option '%1'").arg(argument));
        } else if (!start.file.isEmpty()) {
            return refuse(QStringLiteral("one problem file at a time"));
        } else {
            start.file = argument;
        }
    }
    return start;
}

}  // namespace zl::gui
