// Compiled against each logic library by the layering test, which expects the build to fail: logic code
// cannot see Qt Widgets.
#include <QWidget>

QWidget *layeringProbe()
{
    return nullptr;
}
