#pragma once
// Positions along the report charts' axes: a fraction of the axis length, rounded to four decimals
// as the reports have always placed their points and grid lines.
namespace sq {

// index / count x length to four decimals; a count of 0 raises VbError 11 (division by zero).
double ScaleToAxis(double index, double count, double length);

}  // namespace sq
