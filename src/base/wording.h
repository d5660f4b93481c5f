#pragma once

#include <QString>
#include <concepts>

// The English wording of a text that was handed on translated (see Said), the text itself when
// it was never translated or is too old to be remembered (the last few hundred are kept).
QString LoggedWording(const QString &shown);

// A message that the user reads in the desktop's language while the activity log records it
// in English. The log keeps one language whatever the desktop speaks: it is searched, quoted
// in bug reports and read back by the statistics. So a text meant for both is made in both
// wordings, which travel together through the arguments filled in; where the text is handed
// on as a QString (an error's message, a status line) the translation goes, and the log asks
// LoggedWording() for the English of what it is given.
//
// Said("Context", "source") is found by lupdate as translate() is (see the lupdate options in
// src/base/CMakeLists.txt).
class Said
{
public:
    // A text with no translation of its own: a server's words, a file name, or a message
    // translated before (whose English is then looked up, so it is kept in both wordings).
    Said(const QString &same) : m_english(LoggedWording(same)), m_shown(same) {}
    Said(const char *context, const char *source);

    Said arg(const Said &a) const { return {m_english.arg(a.m_english), m_shown.arg(a.m_shown)}; }
    // Several at once, as QString::arg does them: a %n in one argument is not replaced again.
    template <typename... Args>
        requires(sizeof...(Args) >= 2)
    Said arg(const Args &...args) const
    {
        return {m_english.arg(Part(args).m_english...), m_shown.arg(Part(args).m_shown...)};
    }
    template <std::integral N>
    Said arg(N n) const
    {
        return {m_english.arg(n), m_shown.arg(n)};
    }
    Said operator+(const Said &tail) const { return {m_english + tail.m_english, m_shown + tail.m_shown}; }
    Said operator+(const QString &tail) const { return *this + Said(tail); }

    const QString &English() const { return m_english; }
    const QString &Shown() const { return m_shown; }
    // The text for the user; the log can still find its English (LoggedWording).
    operator QString() const;

private:
    static const Said &Part(const Said &said) { return said; }
    static Said Part(const QString &text) { return Said(text); }
    Said(QString english, QString shown) : m_english(std::move(english)), m_shown(std::move(shown)) {}

    QString m_english;
    QString m_shown;
};

// A text kept in a constant made before any translator is in place: translated where it is used.
// Later("Context", "source") is found by lupdate as Said is.
struct SaidLater
{
    const char *context;
    const char *source;
    operator QString() const { return Said(context, source); }
};
constexpr SaidLater Later(const char *context, const char *source) { return {context, source}; }

