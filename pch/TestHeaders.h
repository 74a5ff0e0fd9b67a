// Precompiled for the test programs of logic: GoogleTest, GoogleMock and the Qt Core/Sql/Test headers.
#pragma once
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QList>
#include <QProcess>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>
#include <vector>
