#include "alarm.h"

#include <QApplication>
#include <QFileInfo>
#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

TAlarmSound::TAlarmSound(QObject *parent)
    : QObject(parent), m_beeper([] { QApplication::beep(); }),
      m_hasAudio([] { return !QMediaDevices::audioOutputs().isEmpty(); })
{
}

TAlarmSound::~TAlarmSound() = default;

void TAlarmSound::Beep()
{
    if (m_beeper)
        m_beeper();
}

void TAlarmSound::Play(const QString &file, bool repeat)
{
    Stop();
    m_beeped = false;
    if (file.isEmpty() || !QFileInfo(file).isFile() || !m_hasAudio || !m_hasAudio()) {
        Beep();
        return;
    }
    // Created on first use: a machine that never plays the alarm never opens the audio system.
    if (!m_effect) {
        m_effect = new QSoundEffect(this);
        connect(m_effect, &QSoundEffect::statusChanged, this, &TAlarmSound::statusChanged);
    }
    m_effect->setSource(QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()));
    m_effect->setLoopCount(repeat ? int(QSoundEffect::Infinite) : 1);
    m_effect->play();
    statusChanged(); // a file loaded before may already have failed
}

void TAlarmSound::Stop()
{
    if (m_effect)
        m_effect->stop();
}

bool TAlarmSound::IsPlaying() const
{
    return m_effect && m_effect->isPlaying();
}

void TAlarmSound::statusChanged()
{
    // A file that is not a playable WAV fails while loading, after Play() returned.
    if (m_effect && m_effect->status() == QSoundEffect::Error && !m_beeped) {
        m_beeped = true;
        Beep();
    }
}
