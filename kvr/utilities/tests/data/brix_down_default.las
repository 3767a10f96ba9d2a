~VERSION INFORMATION
VERS.           3.0   :CWLS Log ASCII Standard - VERSION 3.0
WRAP.           NO    :Are Depth Lines Wrapped ?
DLM.          SPACE   :Column Data Section Delimiter Character
PROD.      KVR V1.0   :LAS Producer
PROG. KVR to ASCII 1-2004                              :LAS Program name and version
CREA. Thu, Jan 01, 2026 - 08:00:00                     :LAS Creation date and time
SOURCE. BRIX_DOWN                                      :KVR Data File Name
FILE-ID. BRIX_DOWN.las                                 :File Identification Number
#--------------------------------------------------
~WELL INFORMATION
#MNEM.UNIT      DATA             DESCRIPTION
#---- ------ --------------   -----------------------------
STRT .FT     1000.00        :START DEPTH
STOP .FT     1002.00        :STOP DEPTH
STEP .FT     1.0000         :STEP
NULL .       -100000000.0000 :NULL VALUE
COMP .       ACME OIL       :COMPANY
WELL .       WELL-7         :WELL
FLD .        NORTH          :FIELD
CNTY .       KERN           :COUNTY
STAT .       CA             :STATE
CTRY .       USA            :COUNTRY
API .                       :API NUMBER
UWI .        WELL-7         :UNIQUE WELL ID
DATE .       2024-01-01     :LOG DATE
LOC .        NORTH          :LOCATION
SRVC .       ACME OIL       :SERVICE COMPANY
LATI .DEG    35 22 10 N     :LATITUDE
LONG .DEG    119 01 05 W    :LONGITUDE
#--------------------------------------------------
~CURVE INFORMATION
#     MNEM.UNIT       DESCRIPTION
#--------- ---------- -----------------------------
DEPTH     .FT         :
LSPD      .Ft/h       :
CCL1      .mV         :
GR        .API        :
#-----------------------------------------------------------------------------
#
# DEPTH LSPD CCL1 GR
#
~Ascii | Curve
1000.00 1.00 6.00 10.00
1001.00 5.00 10.00 14.00
1002.00 9.00 14.00 18.00
