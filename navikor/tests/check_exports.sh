#!/bin/sh
# Fails when libnavikor.so exports a name outside its documented interface (CNavikor members,
# Axis members and the free functions), or misses one of the free functions.
set -eu
lib=$1
free="Param2Matrix Matrix2Param VectorAngle MatxMat MatxVect MatTrasp MatDet MatInv MatrizUnitaria
IgualarMatrices CartResta CartPromedio Vnorma VCARTinvertir NEP2VECT Rot2Mat Rotation_To_Matrix
MRot_to_W MM2W MML2W solve_2x2 solve_3x3 least_squares_fit2 least_squares_fit3 fnNavikor"
names=$(nm -D --defined-only "$lib" | awk '$2 ~ /^[TWV]$/ { print $3 }' | c++filt | sed 's/(.*//')
status=0
for n in $names; do
  case "$n" in
    CNavikor::*|Axis::*) continue ;;
  esac
  if ! printf '%s\n' $free | grep -qx "$n"; then
    echo "unexpected export: $n"
    status=1
  fi
done
for f in $free; do
  if ! printf '%s\n' $names | grep -qx "$f"; then
    echo "missing export: $f"
    status=1
  fi
done
[ $status -eq 0 ] && echo "exports ok"
exit $status
