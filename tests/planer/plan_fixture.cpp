// Writes the sample plan of the editor's tests, as the office's export would, to the path given.
#include "tests/planer/planer_files.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: zf_plan_fixture FILE.zfpn\n");
        return 2;
    }
    return zf::WritePlanFileBytes(args.at(1), zf::BuildPlanFileBytes(zf::test::samplePlan())) ? 0
                                                                                              : 1;
}
