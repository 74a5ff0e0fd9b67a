#pragma once
// Record rates are whole seconds per stored point. The step dialogs take only whole numbers; a rate stored
// with a fraction (typed before the dialogs refused them, or written by another program) is read as the
// nearest whole second, a half going to the even neighbour, the way the real-time screen has always taken
// it. The setup screen shows, and a run uses, that one value.
namespace RecordRate {

// The whole seconds a stored rate stands for; 0 (no recording) when it is not a number a run can use.
int seconds(double stored);

// A typed rate a step may take: a whole number of at least one second.
bool isAcceptable(double typed);

} // namespace RecordRate
