#pragma once

#include "polyglot/TbsPolyglotTranslator.h"

#include <QList>
#include <memory>

class TbsINIFile;

// Holds the place, in a manager's list of translated windows, of windows
// that the program makes later than their turn (to show its main window
// sooner). When they come, each is translated exactly as it would have been
// had it been made here: from the file open when the place was taken (its
// own creation), then by every translation of all windows that reached the
// place since, in order. A translation of all windows that stopped at one
// of them leaves the ones after it as they were, as it would have. The
// windows take this place in the list, so that later translations reach
// them in the same order too.
class PendingTranslation : public TbsPolyglotTranslator
{
    Q_OBJECT

public:
    // Owned by the manager, with which it registers after the windows
    // registered so far.
    explicit PendingTranslation(TbsPolyglotManager* manager);
    ~PendingTranslation() override;

    // Notes the file of a translation of all windows that reached the place.
    void translate() override;

    // While an object of this class lives, every window that attaches a
    // translator to the manager takes the place; afterwards they attach as
    // usual again.
    class Arrivals
    {
    public:
        explicit Arrivals(PendingTranslation& place);
        ~Arrivals();
        Arrivals(const Arrivals&) = delete;
        Arrivals& operator=(const Arrivals&) = delete;

    private:
        PendingTranslation& m_place;
    };

    // Registers the translator before this place and gives its window the
    // translations noted. Throws the first error of one of them, after
    // giving the others.
    void admit(TbsPolyglotTranslator* translator);

private:
    struct Noted
    {
        std::shared_ptr<const TbsINIFile> file;
        // A translation of all windows, which a stop ends for the windows
        // after; the creation's translation stands for each window alone.
        bool ofAll = true;
        bool stopped = false;
    };
    QList<Noted> m_noted;
};
