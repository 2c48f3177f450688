#pragma once

#include <QString>

// Where the program offers to save and open the user's own files: his
// documents folder, or his home folder when there is none (a fresh account
// or a desktop without the usual folders), so a file dialog never opens on
// a name in a folder that does not exist.
QString documentsFolder();
