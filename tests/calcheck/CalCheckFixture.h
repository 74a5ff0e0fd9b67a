#pragma once
// A calibration check on a fake port and a virtual clock (the link tests' context), with helpers that
// write the instrument's real-time messages.
#include "calcheck/CalibrationSession.h"
#include "tests/link/LinkFixture.h"
#include "tests/support/TempDir.h"

#include <QByteArray>
#include <initializer_list>

namespace calcheck {

// A reading of step `step` at `second` with the measured stress, at 55 degF and R1-B1.
inline QByteArray reading(int step, int second, qint64 stress)
{
    return realTimeMessage({step, second, 55, stress, 0, 100, 1});
}

} // namespace calcheck

class CalCheckFixture : public LinkFixture {
protected:
    CalCheckFixture() { ctx.workDir = dir.path(); }

    // A session whose Start went through with the given viscosity text.
    void startWith(const QString &viscosity)
    {
        session.load();
        session.start(viscosity);
    }

    TempDir dir;
    CalibrationSession session{ctx};
};
