#include "wording.h"

#include <QCoreApplication>
#include <QHash>
#include <QMutex>
#include <QQueue>

namespace {

// Enough for every message of one check of every mailbox at once; a text is logged right after
// it was made, so an old one falling out costs nothing but its English.
constexpr qsizetype kRemembered = 256;

struct Memory
{
    QMutex lock;
    QHash<QString, QString> english;
    QQueue<QString> order;
};

Memory &Remembered()
{
    static Memory memory;
    return memory;
}

} // namespace

Said::Said(const char *context, const char *source)
    : m_english(QString::fromUtf8(source)), m_shown(QCoreApplication::translate(context, source))
{
}

Said::operator QString() const
{
    if (m_shown != m_english) {
        Memory &memory = Remembered();
        const QMutexLocker locker(&memory.lock);
        if (!memory.english.contains(m_shown)) {
            memory.order.enqueue(m_shown);
            if (memory.order.size() > kRemembered)
                memory.english.remove(memory.order.dequeue());
        }
        memory.english.insert(m_shown, m_english);
    }
    return m_shown;
}

QString LoggedWording(const QString &shown)
{
    Memory &memory = Remembered();
    const QMutexLocker locker(&memory.lock);
    return memory.english.value(shown, shown);
}
