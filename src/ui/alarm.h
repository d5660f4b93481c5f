#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QSoundEffect;

// The alarm sound: a WAV file played once or looping until stopped. Sound is a nicety, never
// an error: a file that is missing or cannot be played, or a machine without an audio
// device, gives the desktop's beep instead and no message.
class TAlarmSound : public QObject
{
    Q_OBJECT

public:
    explicit TAlarmSound(QObject *parent = nullptr);
    ~TAlarmSound() override;

    void Play(const QString &file, bool repeat);
    void Stop();
    bool IsPlaying() const;
    void Beep();

    // What Beep() does; QApplication::beep() unless a test replaces it.
    void SetBeeper(std::function<void()> beeper) { m_beeper = std::move(beeper); }
    // Whether an audio output exists; asked before every play. Tests replace it.
    void SetAudioCheck(std::function<bool()> hasAudio) { m_hasAudio = std::move(hasAudio); }

private:
    void statusChanged();

    QSoundEffect *m_effect = nullptr;
    std::function<void()> m_beeper;
    std::function<bool()> m_hasAudio;
    bool m_beeped = false; // the current play has already fallen back to the beep
};
