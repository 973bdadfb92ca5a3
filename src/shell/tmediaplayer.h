// The hidden media player each game window plays its cues through: opens one
// wave file by name, plays it without waiting, and reports position and length
// in milliseconds. All players share one SDL audio device and are mixed there,
// so several windows can each hold a cue open at once.
#pragma once

#include <QObject>
#include <QString>

#include <memory>

class TMediaPlayer : public QObject {
    Q_OBJECT
public:
    explicit TMediaPlayer(QObject* parent = nullptr);
    ~TMediaPlayer() override;

    // The file the next Open() loads: a bare name is looked up in the
    // process's current directory, then in the program's data folder.
    QString fileName() const { return m_fileName; }
    void setFileName(const QString& name) { m_fileName = name; }

    // With rewind on, Play() after the cue has run to its end starts it again
    // from the beginning; off, such a Play() does nothing.
    bool autoRewind() const { return m_autoRewind; }
    void setAutoRewind(bool on) { m_autoRewind = on; }

    // Closes whatever is open, then loads FileName. Throws EError naming the
    // file when its wave header declares what no cue can be (a rate outside
    // 4 to 192 kHz, more than 8 channels, a coding SDL cannot decode, chunks
    // larger than the file, more than 60 s of sound), before anything is
    // decoded, or when it is not a regular file (a pipe would block the open
    // for good); and with SDL's text when the file is missing or not a
    // playable wave, or the sound device cannot be opened. The first Open()
    // loads SDL, and throws EError when it cannot.
    void Open();
    // Starts playing from the current position and returns at once. A cue that
    // is still sounding goes on from where it is. Throws EError when nothing is
    // open or the device fails.
    void Play();
    // Milliseconds played so far; 0 with nothing open.
    int Position() const;
    // Milliseconds of the open file; throws EError when nothing is open.
    int Length() const;
    // Stops and releases the open file; does nothing when nothing is open.
    void Close();
    bool isOpen() const { return m_voice != nullptr; }

    // The open file's samples and play state, shared with the audio callback.
    struct Voice;

private:
    QString m_fileName;
    bool m_autoRewind = true;
    std::unique_ptr<Voice> m_voice;
};
