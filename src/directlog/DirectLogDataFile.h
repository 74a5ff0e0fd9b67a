#pragma once
// The comma-separated data file of direct logging, in the program's directory under the name the operator
// typed. Run creates it with its header line; each recorded reading appends one line, the file being
// opened and closed again for every line so that everything recorded is on disk if the program stops.
// Lines end in CR LF; numbers are in the classic print form (a blank before a number of zero or more and
// one after it), so a line reads " 30 ,09:15:02, 250 , 300 , 48.95519 ".
#include <QString>
#include <QTime>

class DirectLogDataFile {
public:
    static QString header()
    {
        return QStringLiteral("Accu_Time(Sec),Clock_Time,S_Stress(dyn/cm2),Speed(Rpm),Visc(cP)");
    }

    // One line, CR LF included: seconds into the step (F2), the time of day hh:mm:ss, the shear stress
    // (F4), the speed in rpm (F6 / 100) and the viscosity plotted for the reading.
    static QString line(qint64 secondsInStep, const QTime &clock, qint64 shearStress, double speedRpm, float viscosity);

    // A number in the classic print form with the given significant digits (15 for doubles, 7 for floats).
    static QString printForm(double value, int significant = 15);

    // workDir + name (a name with its own absolute path stays as typed).
    static QString pathFor(const QString &workDir, const QString &fileName);

    explicit DirectLogDataFile(QString path = {}) : path_(std::move(path)) {}
    const QString &path() const { return path_; }

    // Empties or creates the file and writes the header line. False with the reason in *error.
    bool create(QString *error);
    // Appends text at the end of the file; what the file held before is never touched.
    bool append(const QString &text, QString *error);

private:
    QString path_;
};
