#pragma once

// The stresses and temperature of one counted cycle that the correction coefficients read (MPa,
// degrees C). A welded cycle uses DSigmaR, DSigmaRlm, DSigmaRlt and Temp only.
struct CycleQuantities {
    double DSigmaR = 0.0;   // cycle range (total or geometric)
    double DSigmaRlm = 0.0; // range of the linearised mechanical stresses
    double DSigmaRlt = 0.0; // range of the linearised thermal stresses
    double DSigmaRl = 0.0;  // range of the linearised total stresses
    double Sigmo = 0.0;     // mean stress of the cycle
    double Temp = 0.0;      // mean cycle temperature t*
    double SigmaEqM = 0.0;  // largest equivalent stress during the cycle
};
