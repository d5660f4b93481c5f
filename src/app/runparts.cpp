#include "runparts.h"

QStringList LoadRunFiles(const TRunFiles &files)
{
    QStringList problems;
    if (!files.settings.warning().isEmpty())
        problems << files.settings.warning();
    files.general = ReadGeneralSettings(files.settings);
    files.servers = readServerSettings(files.settings, &problems);
    files.log.setFileName(files.general.logFile);
    files.spam.readSettings();
    problems << files.spam.ReadProblems();
    QString knownError;
    files.known.LoadUpKnownList(QString(), &knownError);
    if (!knownError.isEmpty())
        problems << knownError;
    // The dial-up entry by its stored position in the phone book as listed now. A position
    // beyond the list (the phone book shrank, or there is no dial-up service) means "None".
    files.ras.Entries();
    if (const QString problem = files.ras.SetService(files.ras.EntryAt(files.general.ras)); !problem.isEmpty())
        problems << problem;
    return problems;
}
