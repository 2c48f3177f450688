#pragma once

#include <functional>

class ADOConnection;

struct LogCopyResult
{
    int copied = 0;
    int alreadyThere = 0;
};

// Copies every ride of every cyclist from one store to another (this
// computer's file onto a club's server), with the entries of the files they
// were imported from, by the rule an import uses for rides already recorded:
// a ride the target holds already, by its figures or by its file's content,
// is left out, so a second copy adds nothing. Each cyclist's year is stored
// in one transaction with its odometer chain recomputed, as an import stores
// its rides. progress is told how many of the source's rides are done, of
// how many, before the first year and after each; answering false stops
// the copy there, keeping the years copied whole. Throws RydexError when a
// store refuses; the years copied before stay.
LogCopyResult copyLog(ADOConnection& from, ADOConnection& to,
                      const std::function<bool(int done, int total)>& progress);
