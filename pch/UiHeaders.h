// Precompiled for the window libraries: the Qt Widgets headers their forms are built from.
#pragma once
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QTimer>
#include <QWidget>

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
