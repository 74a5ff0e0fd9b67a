#include "app/frmAbout.h"
#include "common/ProgramInfo.h"

#include "platform/ProportionalResizer.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace {

// The rotor turning around the bob in the sample cup, as on the instrument's front panel.
class ViscometerPicture : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF r = QRectF(rect()).adjusted(4, 4, -4, -4);
        const double w = r.width();
        const double h = r.height();
        const QPointF o = r.topLeft();

        // Drive head.
        p.setPen(QPen(QColor(40, 40, 60), 1.5));
        p.setBrush(QColor(90, 110, 150));
        p.drawRoundedRect(QRectF(o.x() + w * 0.15, o.y(), w * 0.7, h * 0.22), 4, 4);
        // Shaft.
        p.setBrush(QColor(170, 170, 180));
        p.drawRect(QRectF(o.x() + w * 0.46, o.y() + h * 0.22, w * 0.08, h * 0.18));
        // Sample cup with fluid.
        const QRectF cup(o.x() + w * 0.2, o.y() + h * 0.5, w * 0.6, h * 0.48);
        p.setBrush(QColor(205, 225, 240));
        p.drawRect(cup);
        p.setBrush(QColor(200, 150, 60, 170));
        p.drawRect(cup.adjusted(2, cup.height() * 0.25, -2, -2));
        // Rotor sleeve and the bob inside it.
        p.setBrush(QColor(150, 150, 160));
        p.drawRect(QRectF(o.x() + w * 0.32, o.y() + h * 0.4, w * 0.36, h * 0.45));
        p.setBrush(QColor(220, 220, 225));
        p.drawRect(QRectF(o.x() + w * 0.4, o.y() + h * 0.45, w * 0.2, h * 0.34));
        // Direction of rotation.
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(180, 30, 30), 2));
        const QRectF arc(o.x() + w * 0.25, o.y() + h * 0.3, w * 0.5, h * 0.16);
        p.drawArc(arc, 200 * 16, 140 * 16);
    }
};

} // namespace

frmAbout::frmAbout(double screenFactor, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About"));
    setModal(true);
    const QSize design(440, 210);
    resize(design);

    Picture1_ = new ViscometerPicture(this);
    Picture1_->setObjectName(QStringLiteral("Picture1"));
    Picture1_->setAccessibleName(QStringLiteral("Drawing of the K7100 rotor and bob"));
    Picture1_->setGeometry(20, 20, 120, 170);

    Label1_ = new QLabel(ProgramInfo::name() + QStringLiteral(" for K7100 viscometer "), this);
    Label1_->setObjectName(QStringLiteral("Label1"));
    Label1_->setGeometry(160, 40, 270, 24);
    QFont bold = Label1_->font();
    bold.setBold(true);
    Label1_->setFont(bold);

    Label2_ = new QLabel(ProgramInfo::versionLine(), this);
    Label2_->setObjectName(QStringLiteral("Label2"));
    Label2_->setGeometry(160, 76, 270, 24);

    Command1_ = new QPushButton(QStringLiteral("&OK"), this);
    Command1_->setObjectName(QStringLiteral("Command1"));
    Command1_->setAccessibleName(QStringLiteral("OK"));
    Command1_->setGeometry(320, 160, 100, 32);
    Command1_->setDefault(true);
    connect(Command1_, &QPushButton::clicked, this, &frmAbout::Command1_Click);

    new ProportionalResizer(this, ProportionalResizer::Variant::Default, screenFactor, design);
}

void frmAbout::Command1_Click()
{
    accept();
}
