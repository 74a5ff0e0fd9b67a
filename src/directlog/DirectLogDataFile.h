#pragma once
// The comma-separated data file of direct logging, in the program's directory under the name the operator
// typed. Run creates it with its header line; each recorded reading appends one line, the file being
// opened and closed again for every line so that everything recorded is on disk if the program stops.
// Lines end in CR LF; numbers are in the classic print form (a blank before a number of zero or more and
// one after it), so a line reads " 30 ,09:15:02, 250 , 300 , 48.95519 ".
//
// A run writes through start() and record(): a line the file refuses (disk full, a network folder gone)
// waits in memory, in order, and goes with the next write that succeeds; what still waits when the run
// ends can be saved in a file of its own beside the data file (saveWaiting).
#include <QDateTime>
#include <QString>
#include <QStringList>
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
    // Appends text at the end of the file; what the file held before is never touched (a write that
    // fails halfway is cut off again).
    bool append(const QString &text, QString *error);

    // The run's start: create() now, or, when the file refuses, the header waits and the file is started
    // afresh by the first write that succeeds.
    bool start(QString *error);
    // A recorded line (CR LF included): written after everything that waits, or kept waiting.
    bool record(const QString &line, QString *error);
    // Writes what waits; true when nothing waits any more.
    bool flush(QString *error);
    // Lines waiting for the file (the header not counted).
    qsizetype waitingLines() const;

    // Saves what waits (with the header when the file was never started) in a new file beside the data
    // file, else in the home or the temporary folder: "<name> recovered <yyyy-MM-dd hhmmss>.txt". Returns
    // its path; "" with the reasons in *error when no folder took it. Nothing waits afterwards.
    QString saveWaiting(const QDateTime &when, QString *error);

private:
    QString path_;
    QStringList waiting_;
    bool restart_ = false; // the waiting text begins with the header of a file not yet started
};
