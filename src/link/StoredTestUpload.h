#pragma once
// "Get K7100 Data": asks the instrument for the test it ran stand-alone (byte 8, then byte 1), collects
// each reply until the line is quiet, checks it and parses its records. Storing them under a name the
// user gives is the caller's next step (storeRecords), after the related-information dialog.
#include "link/StoredTestRecords.h"
#include "store/TestPoint.h"

#include <QSqlDatabase>
#include <functional>
#include <optional>

struct AppContext;
struct ProgramState;

struct StoredTestUploadResult {
    std::vector<StoredTestRecord> records;
    bool customRB = false;
    double customRateFactor = 0; // shear rate per rpm when customRB
};

class StoredTestUpload {
public:
    static QString retrievingText() { return QStringLiteral("Retrieving Data From K7100 ..."); }
    static QString finishedText() { return QStringLiteral("Retrieving Data Finished Successfully!"); }
    static QString noResponseText() { return QStringLiteral("No response from K7100, please check connection."); }
    static QString badReplyText()
    {
        return QStringLiteral("Communication error from K7100, please download data again.");
    }
    static QString communicationTitle() { return QStringLiteral("Communication Error"); }

    // Runs the exchange. status receives the texts for the status bar. On any failure the user has been
    // told (no response, a reply not ending in the end byte, a reply longer than a full memory gives or
    // with its last record cut short, a port that cannot be opened, too many records) and nullopt is
    // returned; the state's CustomRB/CustomRateFactor are set from the reply to 8.
    static std::optional<StoredTestUploadResult> run(AppContext &context,
                                                     const std::function<void(const QString &)> &status = {});

    // Appends the records as the points of test testId in one transaction, in stored units. Rbfactor is the
    // rotor-bob code, or the custom factor x 1000 when customRB. The last record's code becomes RotorBob.
    // Returns false (nothing stored) on a database error, with the engine's text in *error.
    static bool storeRecords(QSqlDatabase db, qint64 testId, const StoredTestUploadResult &upload, ProgramState &state,
                             QString *error = nullptr);

    // The records as data points in stored units.
    static TestPoints points(const StoredTestUploadResult &upload);

    // The retrieve command's storing, after the related-information dialog made the test testId: the points
    // go into that test in one transaction, tried again up to `attempts` times a second apart while the
    // database refuses them. A test deleted meanwhile is stored again under a free name (CurrentTestName
    // and NewTestId then name it). What the database still refuses is written to a recovery file beside
    // it and the user is told where. True when the points are in the database.
    static bool storeRetrieved(AppContext &context, const StoredTestUploadResult &upload, int attempts = 3);
};
