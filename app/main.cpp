#include "app/MainForm.h"
#include "app/QtUserDialogs.h"
#include "app/WindowArguments.h"
#include "words/WindowWords.h"

#include <QApplication>
#include <QFileInfo>
#include <QString>
#include <cstdio>

using drovak::app::WindowArguments;

namespace {

int Print(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    return stream == stdout ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[]) {
    // --help and --version need no display: they are answered before the toolkit starts.
    QStringList raw;
    for (int i = 1; i < argc; ++i) raw << QString::fromLocal8Bit(argv[i]);
    const WindowArguments early = drovak::app::ParseWindowArguments(raw);
    if (early.action == WindowArguments::Action::Help)
        return Print(stdout, QString::fromStdString(drovak::WindowHelpText()));
    if (early.action == WindowArguments::Action::Version)
        return Print(stdout, "drovak " DROVAK_VERSION "\n");

    QApplication application(argc, argv);
    QGuiApplication::setDesktopFileName(DROVAK_APP_ID);
    // The toolkit has taken its own options (-platform, -style, ...) out.
    const WindowArguments arguments =
        drovak::app::ParseWindowArguments(QCoreApplication::arguments().mid(1));
    if (arguments.action == WindowArguments::Action::Wrong)
        return Print(stderr, QString::fromStdString(
                                 drovak::WindowUsageProblemText(arguments.problem.toStdString())));
    drovak::app::QtUserDialogs dialogs;
    drovak::app::MainForm form(QCoreApplication::applicationDirPath() + "/", dialogs);
    if (!arguments.rom.isEmpty()) form.OpenAtStartUp(QFileInfo(arguments.rom).absoluteFilePath());
    form.show();
    return QApplication::exec();
}
