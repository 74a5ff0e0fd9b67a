#include "sequence/frmDel.h"

#include "common/NumberText.h"
#include "platform/FormBuilder.h"
#include "platform/ProportionalResizer.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

using namespace FormBuilder;

frmDel::frmDel(int stepCount, double screenFactor, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmDel"));
    setWindowTitle(QStringLiteral("Delete Step"));
    auto *heading = new QLabel(QStringLiteral("Select step want to delete"), this);
    heading->setGeometry(20, 10, 260, 24);

    cmbDELfrom_ = place<QComboBox>(this, QStringLiteral("cmbDELfrom"), QRect(100, 45, 70, 24));
    label(this, QStringLiteral("From step"), QRect(20, 45, 75, 24), cmbDELfrom_);
    cmbDELto_ = place<QComboBox>(this, QStringLiteral("cmbDELto"), QRect(215, 45, 70, 24));
    label(this, QStringLiteral("To"), QRect(185, 45, 25, 24), cmbDELto_);
    for (QComboBox *box : {cmbDELfrom_, cmbDELto_}) {
        for (int i = 1; i <= stepCount; ++i)
            box->addItem(QString::number(i));
        box->setCurrentIndex(stepCount > 0 ? 0 : -1);
    }

    auto *ok = button<QPushButton>(this, QStringLiteral("cmdOk"), QStringLiteral("&OK"), QRect(45, 90, 100, 30));
    auto *cancel =
        button<QPushButton>(this, QStringLiteral("cmdCancel"), QStringLiteral("&Cancel"), QRect(160, 90, 100, 30));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    const QSize design(305, 135);
    resize(design);
    new ProportionalResizer(this, ProportionalResizer::Variant::Default, screenFactor, design);
}

int frmDel::delFrom() const
{
    return int(NumberText::Val(cmbDELfrom_->currentText()));
}

int frmDel::delTo() const
{
    return int(NumberText::Val(cmbDELto_->currentText()));
}
