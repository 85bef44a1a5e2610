#pragma once

#include <QString>

namespace zf::test {

// Points XDG_DATA_HOME, XDG_CONFIG_DIRS and XDG_RUNTIME_DIR at a fresh temporary folder of this
// test process, so no test touches the real data folder.
void prepareEnvironment();
void cleanupEnvironment();

// The temporary root of this process (holds data/, config/ and run/).
QString tempRoot();
// XDG_DATA_HOME of this process.
QString dataHome();
// Removes everything below dataHome().
void clearDataHome();

// The folder with the built program and its data/ folder (enciphered scripts).
QString programFolder();
// The source folder of the project (for fixtures).
QString sourceFolder();

} // namespace zf::test
