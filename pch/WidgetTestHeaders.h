// Precompiled for the test programs that use windows: the logic tests' headers plus Qt Widgets and QTest.
#pragma once
#include "TestHeaders.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QWidget>
