// The records' byte images: callers exchange them by field index, so each documented index
// must sit at index * 8 bytes.

#include "navikor/Navikor.h"

#include <gtest/gtest.h>

#include <cstddef>

#define EXPECT_FIELD(T, field, index) EXPECT_EQ(offsetof(T, field), (index) * sizeof(double)) << #T "." #field

TEST(RecordLayout, DocumentedFieldIndexes)
{
    EXPECT_FIELD(POS_PARAM, Tf, 3);
    EXPECT_FIELD(MATXYZ, m, 0);
    EXPECT_FIELD(CARTyTEMP, Tz, 5);
    EXPECT_FIELD(Acel_ACAL, offset, 6);
    EXPECT_FIELD(GravParam, Gy, 4);
    EXPECT_FIELD(GravParam, Gz, 8);
    EXPECT_FIELD(GravParam, Tx, 14);
    EXPECT_FIELD(Gyro_CAL, gain, 17);
    EXPECT_FIELD(Gyro_CAL, offset, 23);

    EXPECT_FIELD(ESTACIONin, acelNoise, 3);
    EXPECT_FIELD(ESTACIONin, gyro, 9);
    EXPECT_FIELD(ESTACIONin, gyroNoise, 12);
    EXPECT_FIELD(ESTACIONin, gyroTemp, 15);
    EXPECT_FIELD(ESTACIONin, rotpos, 18);

    EXPECT_FIELD(ESTACIONout, bias, 4);
    EXPECT_FIELD(ESTACIONout, residualX, 10);
    EXPECT_FIELD(ESTACIONout, uncertainty, 13);
    EXPECT_FIELD(ESTACIONout, quality, 14);

    EXPECT_FIELD(AGPAR, acel, 6);
    EXPECT_FIELD(AGPAR, acelTemp, 9);
    EXPECT_FIELD(MUESTRA, inStop, 12);
    EXPECT_FIELD(MUESTRA, rotpos, 13);
    EXPECT_FIELD(MUESTRA, time, 14);
    EXPECT_FIELD(MUESTRA, depth, 15);

    EXPECT_FIELD(ROLLTESTres, pairGx, 8);
    EXPECT_FIELD(ROLLTESTres, meanGx2, 16);
    EXPECT_FIELD(ROLLTESTres, pairDiffGx, 24);
    EXPECT_FIELD(ROLLTESTres, zero, 28);
    EXPECT_FIELD(ROLLTESTres, tempX, 29);
    EXPECT_FIELD(ROLLTESTres, Ry, 36);

    EXPECT_EQ(offsetof(StationRecord, pos1), sizeof(ESTACIONout) + sizeof(ESTACIONin));
    EXPECT_EQ(offsetof(StationRecord, start), 464u);
    EXPECT_EQ(offsetof(EEAxis, n1), 44u);
}

TEST(RecordLayout, DefaultsAreZeroOrDocumented)
{
    const ESTACIONin in;
    EXPECT_EQ(in.rotpos, 0);
    const Movimiento m;
    EXPECT_EQ(m.attitudeError, -1);
    EXPECT_EQ(m.saturationTime, -1);
    const Axis a;
    EXPECT_EQ(a.z, 1);
}
