#pragma once

// Free functions: attitude convention, matrix algebra, rotation vectors and small solvers.
// Angles of POS_PARAM are radians; rotation vectors and rotation angles are degrees.

#include "navikor/Export.h"
#include "navikor/Records.h"

NAVIKOR_API MATXYZ Param2Matrix(POS_PARAM p);
NAVIKOR_API POS_PARAM Matrix2Param(MATXYZ m);
NAVIKOR_API double VectorAngle(double x, double y);

NAVIKOR_API MATXYZ MatxMat(MATXYZ a, MATXYZ b);
NAVIKOR_API CARTXYZ MatxVect(MATXYZ m, CARTXYZ v);
NAVIKOR_API MATXYZ MatTrasp(MATXYZ m);
NAVIKOR_API double MatDet(MATXYZ m);
NAVIKOR_API MATXYZ MatInv(MATXYZ m);
NAVIKOR_API MATXYZ MatrizUnitaria();
NAVIKOR_API void IgualarMatrices(MATXYZ source, MATXYZ* target);

NAVIKOR_API CARTXYZ CartResta(CARTXYZ a, CARTXYZ b);
NAVIKOR_API CARTXYZ CartPromedio(CARTXYZ a, CARTXYZ b);
NAVIKOR_API double Vnorma(CARTXYZ v);
NAVIKOR_API CARTNEP VCARTinvertir(CARTNEP v);
NAVIKOR_API CARTXYZ NEP2VECT(CARTNEP v);

NAVIKOR_API MATXYZ Rot2Mat(double angleDeg, CARTXYZ axis);
NAVIKOR_API MATXYZ Rotation_To_Matrix(CARTXYZ rate, double duration);
NAVIKOR_API CARTXYZ MRot_to_W(double duration, MATXYZ rotation);
NAVIKOR_API CARTXYZ MM2W(MATXYZ a, MATXYZ b);
NAVIKOR_API CARTXYZ MML2W(MATXYZ a, MATXYZ b);

NAVIKOR_API void solve_2x2(const double a[2][2], const double b[2], double x[2]);
NAVIKOR_API void solve_3x3(const double a[3][3], const double b[3], double x[3]);
NAVIKOR_API void least_squares_fit2(const double* rows, int count, double out[2]);
NAVIKOR_API void least_squares_fit3(const double* rows, int count, double out[3]);

NAVIKOR_API int fnNavikor();
