// Feeds saved inputs to a fuzz target's entry function, built with the normal compiler:
// every file named, and every file in each folder named. A target that finds a fault aborts,
// which fails the test; the file being replayed is printed first so it can be found.
#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

namespace {

bool Replay(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s: %s\n", qPrintable(path), qPrintable(file.errorString()));
        return false;
    }
    const QByteArray bytes = file.readAll();
    std::fprintf(stderr, "replaying %s (%lld bytes)\n", qPrintable(path), static_cast<long long>(bytes.size()));
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size()));
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    int replayed = 0;
    bool ok = true;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QFile::decodeName(argv[i]);
        const QFileInfo info(arg);
        if (info.isDir()) {
            QStringList files;
            QDirIterator it(arg, QDir::Files, QDirIterator::Subdirectories);
            while (it.hasNext())
                files.append(it.next());
            files.sort();
            for (const QString &file : files) {
                ok = Replay(file) && ok;
                ++replayed;
            }
        } else if (info.exists()) {
            ok = Replay(arg) && ok;
            ++replayed;
        }
        // A folder that does not exist yet (a target without regressions) is no error.
    }
    std::printf("%d inputs replayed\n", replayed);
    return ok ? 0 : 1;
}
