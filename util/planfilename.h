#pragma once

#include <QString>

namespace zf {

// A stored plan file name that keeps the file inside the plan folder: no "/", no "\\", no ".."
// and no control character. The empty name (giving ".zfpn") is allowed: older plans have such
// employees. The one rule of the export, the import, the personnel card and the employee
// import, so that no name is accepted where it is typed that the export would refuse.
bool IsSafePlanFileName(const QString& fileName);

} // namespace zf
