#include "app/frmAbout.h"

#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

TEST(frmAbout, ShowsNameVersionAndPictureAndOkCloses)
{
    frmAbout about(1.0);
    EXPECT_EQ(about.windowTitle(), "About");
    auto *label1 = about.findChild<QLabel *>("Label1");
    auto *label2 = about.findChild<QLabel *>("Label2");
    auto *ok = about.findChild<QPushButton *>("Command1");
    auto *picture = about.findChild<QWidget *>("Picture1");
    ASSERT_TRUE(label1 && label2 && ok && picture);
    EXPECT_EQ(label1->text(), "K7100DAQ for K7100 viscometer ");
    EXPECT_EQ(label2->text(), "version 2.0.0.12   06-04-2018");
    EXPECT_EQ(ok->text(), "&OK");

    // The picture is drawn, not blank: it holds more than one colour.
    const QImage image = picture->grab().toImage();
    const QRgb first = image.pixel(0, 0);
    bool varied = false;
    for (int y = 0; y < image.height() && !varied; y += 3)
        for (int x = 0; x < image.width() && !varied; x += 3)
            varied = image.pixel(x, y) != first;
    EXPECT_TRUE(varied);

    about.show();
    ASSERT_TRUE(about.isVisible());
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), QDialog::Accepted);
}
