// A cue player for the window tests that plays nothing and writes down every
// call, in order with what the window asked of its random source meanwhile.
// It is as strict as the media player it stands for: a cue that is not a
// regular file in the current folder fails with EError, as does waiting
// with nothing started; every open closes what was open, so a blocking cue
// ends the held one; and a blocking cue with fraction > 1 repaints once.
#pragma once

#include "cues.h"
#include "datafiles.h"
#include "eerror.h"
#include "scriptedrandom.h"

#include <QStringList>

class RecordingCuePlayer : public CuePlayer {
public:
    // Runs inside every blocking cue and start-cue wait, as whatever the
    // player does while the cue sounds.
    std::function<void()> whilePlaying;

    // The random source whose requests go into the journal between the cues.
    void follow(const JournalledRandom* random)
    {
        m_random = random;
        m_seen = random ? random->asked.size() : 0;
    }

    // What happened since the last call, joined by ", ": "reseed" and
    // "Random(n)" (a run of more than two draws as "N draws"), and the
    // cues: "12.wav" blocking, "14.wav 1/4" blocking with its repaint a
    // quarter of the way, "1.wav started" and "1.wav finished", "15.wav
    // held" when opened for moves and "15.wav played" on each, "closed", and
    // "<name> failed" for a call that raised its error.
    QString take()
    {
        noteRandom();
        const QString text = m_journal.join(QStringLiteral(", "));
        m_journal.clear();
        return text;
    }

    // What the window played for one event, its random draws scripted: the
    // journal of take(), with a note of any draw left over.
    template <class Form>
    QString recordEvent(Form& form, const QList<int>& draws, const std::function<void()>& event)
    {
        ScriptedRandom random(std::deque<int>(draws.begin(), draws.end()));
        form.setRandom(&random);
        follow(&random);
        take();
        event();
        QString played = take();
        follow(nullptr);
        form.setRandom(nullptr);
        if (!random.values.empty())
            played += QStringLiteral(" (%1 draws left)").arg(random.values.size());
        return played;
    }

    void soundplay(const QString& fileName, int fraction, const std::function<void()>& repaint) override
    {
        open(fileName);
        m_journal << (fraction > 1 ? fileName + QStringLiteral(" 1/%1").arg(fraction) : fileName);
        if (whilePlaying)
            whilePlaying();
        if (fraction > 1 && repaint)
            repaint();
        m_open.clear();
    }
    void startCue(const QString& fileName) override
    {
        open(fileName);
        m_journal << fileName + QStringLiteral(" started");
    }
    void finishCue() override
    {
        noteRandom();
        if (m_open.isEmpty())
            fail(QStringLiteral("finish"), QStringLiteral("No sound file is open"));
        m_journal << m_open + QStringLiteral(" finished");
        if (whilePlaying)
            whilePlaying();
        m_open.clear();
    }
    void openHeldCue(const QString& fileName) override
    {
        open(fileName);
        m_journal << fileName + QStringLiteral(" held");
    }
    void playHeldCue(const QString& fileName) override
    {
        noteRandom();
        if (m_open != fileName)
            openHeldCue(fileName);
        m_journal << fileName + QStringLiteral(" played");
    }
    void close() override
    {
        noteRandom();
        if (!m_open.isEmpty())
            m_journal << QStringLiteral("closed");
        m_open.clear();
    }

private:
    void open(const QString& fileName)
    {
        noteRandom();
        m_open.clear();
        if (!datafiles::isRegularFile(fileName))
            fail(fileName, QStringLiteral("Cannot open file %1").arg(fileName));
        m_open = fileName;
    }
    [[noreturn]] void fail(const QString& what, const QString& text)
    {
        m_journal << what + QStringLiteral(" failed");
        throw EError(text);
    }
    void noteRandom()
    {
        if (!m_random)
            return;
        int run = 0;
        auto endRun = [&] {
            if (run > 2)
                m_journal << QStringLiteral("%1 draws").arg(run);
            else
                for (int i = 0; i < run; ++i)
                    m_journal << QStringLiteral("Random(%1)").arg(m_random->asked[m_seen - run + i]);
            run = 0;
        };
        for (; m_seen < m_random->asked.size(); ++m_seen) {
            if (m_random->asked[m_seen] == 0) {
                endRun();
                m_journal << QStringLiteral("reseed");
            } else {
                ++run;
            }
        }
        endRun();
    }

    const JournalledRandom* m_random = nullptr;
    qsizetype m_seen = 0;
    QString m_open;
    QStringList m_journal;
};
