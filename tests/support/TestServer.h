#pragma once

#include "store/StoreLocation.h"

#include <QString>
#include <QStringList>

// The throwaway PostgreSQL server ctest starts for a run (scripts/test-server.sh)
// and the databases the tests make on it. Every failure here ends the test
// run with the reason: a test that needs the server never passes without it.
namespace TestServer {
// The server's connection text as its superuser (for setting up), from the
// file named by RYDEX_TEST_SERVER.
QString adminText();
// A new, empty database owned by rydex_owner, a member's role that may log
// in and create tables there but is no superuser, as the store the program
// is pointed at; every call a fresh one.
StoreLocation freshStore();
} // namespace TestServer
