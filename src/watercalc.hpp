// Water-change calculations: the quantities of a partial water change, the
// prompts that ask for them and the four ways to solve the mixing balance.
#pragma once

// Amounts in litres: the whole tank, the water that stays, the change water.
extern float m0, m1, m2;
// Temperatures in degrees Celsius: the tank before the change, the change
// water, the tank after the change.
extern float t1, t2, t12;

// Each prompt asks for one quantity and stores the answer; false at the end
// of input.
bool abfrage1(); // m1
bool abfrage2(); // m2
bool abfrage3(); // t1
bool abfrage4(); // t12
bool abfrage5(); // t2
bool abfrage6(); // m0

// Each calculation asks for its four quantities, solves for the fifth,
// stores it and writes the result line. At the end of input it stops at
// once and writes nothing more.
void calc1(); // t12, the mixed temperature
void calc2(); // t1, the temperature before the change
void calc3(); // t2, the change-water temperature needed
void calc4(); // m2, the change-water amount needed
