/* ======================================================================== */
/*  KVAPTAB.C  -  applicatie tabellen                                       */
/*                                                                          */
/*  Kruispunt    : 101  Stationsweg - Molenstraat (voorbeeld)               */
/*  Versie       : 3.2                                                      */
/*                                                                          */
/*  Alle tijden in seconden, kloktijden als uu.mm.                          */
/*  NG = niet gebruikt.  Elke tabel eindigt met STOP.                       */
/* ======================================================================== */

#include "KVAPDEF.H"

#define NG    (-1)
#define STOP  (-2)
#define AAN   1
#define UIT   0

#define KOPLUS  1
#define LANG    2
#define FIETS   3
#define KNOP    4

/* ------------------------------------------------------------------------ */
/*  Ontruimingstijden: van, naar, soort (1 = auto, 2 = fiets, 3 = voet),   */
/*  ontruimingstijd                                                         */
/* ------------------------------------------------------------------------ */
const double CONFLICT_tabel[] = {
/*  van    naar   soort  tijd */
    SG02,  SG05,  1,     3.0,
    SG02,  SG11,  1,     2.5,
    SG02,  SG22,  1,     2.0,
    SG02,  SG26,  1,     3.5,
    SG02,  SG31,  1,     2.0,
    SG02,  SG32,  1,     4.0,
    SG05,  SG02,  1,     2.5,
    SG05,  SG08,  1,     3.0,
    SG05,  SG22,  1,     3.0,
    SG05,  SG26,  1,     2.0,
    SG05,  SG31,  1,     3.5,
    SG05,  SG32,  1,     1.5,
    SG08,  SG05,  1,     2.5,
    SG08,  SG11,  1,     3.0,
    SG08,  SG22,  1,     3.5,
    SG08,  SG26,  1,     2.0,
    SG08,  SG31,  1,     4.0,
    SG08,  SG32,  1,     2.0,
    SG11,  SG02,  1,     3.0,
    SG11,  SG08,  1,     2.5,
    SG11,  SG22,  1,     2.0,
    SG11,  SG26,  1,     3.0,
    SG11,  SG31,  1,     1.5,
    SG11,  SG32,  1,     3.5,
    SG22,  SG02,  2,     3.0,
    SG22,  SG05,  2,     2.0,
    SG22,  SG08,  2,     1.0,
    SG22,  SG11,  2,     3.5,
    SG26,  SG02,  2,     1.0,
    SG26,  SG05,  2,     3.5,
    SG26,  SG08,  2,     3.0,
    SG26,  SG11,  2,     2.0,
    SG31,  SG02,  3,     6.0,
    SG31,  SG05,  3,     3.0,
    SG31,  SG08,  3,     8.5,
    SG31,  SG11,  3,     5.0,
    SG32,  SG02,  3,     8.5,
    SG32,  SG05,  3,     5.0,
    SG32,  SG08,  3,     6.0,
    SG32,  SG11,  3,     3.0,
    STOP
};

/* ------------------------------------------------------------------------ */
/*  Signaalgroeptijden: sg, soort, vastgroen, garantierood, geel,           */
/*  garantiegroen                                                           */
/* ------------------------------------------------------------------------ */
const double SG_TIJDEN_tabel[] = {
/*  sg     soort  VG     GR     GL     GG */
    SG02,  1,     6.0,   2.0,   3.5,   4.0,
    SG05,  1,     6.0,   2.0,   3.5,   4.0,
    SG08,  1,     6.0,   2.0,   3.5,   4.0,
    SG11,  1,     6.0,   2.0,   3.5,   4.0,
    SG22,  2,     5.0,   1.0,   2.5,   3.0,
    SG26,  2,     5.0,   1.0,   2.5,   3.0,
    SG31,  3,     7.0,   1.0,   0.0,   5.0,
    SG32,  3,     7.0,   1.0,   0.0,   5.0,
    STOP
};

/* ------------------------------------------------------------------------ */
/*  Maximum groentijden: sg, MG, MG1, MG2, MG3  (MG1..MG3 per klokperiode)  */
/* ------------------------------------------------------------------------ */
const double MG_TIJDEN_tabel[] = {
/*  sg     MG     MG1    MG2    MG3 */
    SG02,  20.0,  30.0,  25.0,  NG,
    SG05,  15.0,  20.0,  25.0,  NG,
    SG08,  20.0,  30.0,  25.0,  NG,
    SG11,  15.0,  20.0,  25.0,  NG,
    SG22,  10.0,  NG,    NG,    NG,
    SG26,  10.0,  NG,    NG,    NG,
    SG31,  8.0,   NG,    NG,    NG,
    SG32,  8.0,   NG,    NG,    NG,
    STOP
};

/* extra maximum groentijden MG4..MG6 (weekend) */
const double E_MG_TIJDEN_tabel[] = {
/*  sg     MG4    MG5    MG6 */
    SG02,  18.0,  NG,    NG,
    SG05,  12.0,  NG,    NG,
    SG08,  18.0,  NG,    NG,
    SG11,  12.0,  NG,    NG,
    STOP
};

/* extra maximum groentijden MG7..MG9 (nacht) */
const double E2_MG_TIJDEN_tabel[] = {
/*  sg     MG7    MG8    MG9 */
    SG02,  12.0,  NG,    NG,
    SG08,  12.0,  NG,    NG,
    STOP
};

/* extra maximum groentijden MG10..MG12: niet in gebruik */
const double E3_MG_TIJDEN_tabel[] = { STOP };

/* ------------------------------------------------------------------------ */
/*  Detectie: detector, signaalgroep, soort, bezettijd, hiaattijd 1,        */
/*  hiaattijd 2                                                             */
/* ------------------------------------------------------------------------ */
const double SG_DETECTIE_tabel[] = {
/*  detector   sg     soort    BZT    H1     H2 */
    SG02_D1,   SG02,  KOPLUS,  0.0,   1.5,   1.0,
    SG02_D2,   SG02,  LANG,    2.0,   3.0,   2.5,
    SG05_D1,   SG05,  KOPLUS,  0.0,   1.5,   1.0,
    SG05_D2,   SG05,  LANG,    2.0,   3.0,   2.5,
    SG08_D1,   SG08,  KOPLUS,  0.0,   1.5,   1.0,
    SG08_D2,   SG08,  LANG,    2.0,   3.0,   2.5,
    SG11_D1,   SG11,  KOPLUS,  0.0,   1.5,   1.0,
    SG11_D2,   SG11,  LANG,    2.0,   3.0,   2.5,
    SG22_D1,   SG22,  FIETS,   0.5,   2.0,   NG,
    SG22_DK,   SG22,  KNOP,    NG,    NG,    NG,
    SG26_D1,   SG26,  FIETS,   0.5,   2.0,   NG,
    SG26_DK,   SG26,  KNOP,    NG,    NG,    NG,
    SG31_DKA,  SG31,  KNOP,    NG,    NG,    NG,
    SG31_DKB,  SG31,  KNOP,    NG,    NG,    NG,
    SG32_DKA,  SG32,  KNOP,    NG,    NG,    NG,
    SG32_DKB,  SG32,  KNOP,    NG,    NG,    NG,
    STOP
};

/* ------------------------------------------------------------------------ */
/*  Tijden                                                                  */
/* ------------------------------------------------------------------------ */
const double TIJDEN_tabel[] = {
/*  tijd              waarde */
    T_GARANTIEROOD,   2.0,
    T_KNIPPER,        0.5,
    T_VERLENG02,      4.0,
    T_VERLENG08,      4.0,
    T_WACHT_VOET,     30.0,
    T_NALOOP22,       2.5,
    T_HIAAT_MAX,      3.5,
    T_BUS_INMELDING,  12.0,
    STOP
};

/* ------------------------------------------------------------------------ */
/*  Klokken: begin, einde (uu.mm)                                           */
/* ------------------------------------------------------------------------ */
const double KLOKKEN_tabel[] = {
/*  klok              begin  einde */
    KL_OCHTENDSPITS,  7.00,  9.30,
    KL_AVONDSPITS,    16.00, 18.30,
    KL_NACHT,         23.00, 6.00,
    KL_SCHOOL,        8.15,  8.45,
    STOP
};

/* ------------------------------------------------------------------------ */
/*  Schakelaars                                                             */
/* ------------------------------------------------------------------------ */
const int SCHAKELAAR_tabel[] = {
/*  schakelaar        stand */
    SCH_KNIPPEREN,    UIT,
    SCH_FIETS_DUBBEL, AAN,
    SCH_BUS_PRIO,     AAN,
    SCH_NACHTSTAND,   UIT,
    SCH_DET_TEST,     UIT,
    STOP
};

/* ------------------------------------------------------------------------ */
/*  Extra geheel getal parameters                                           */
/* ------------------------------------------------------------------------ */
const int EGGPARMS_tabel[] = {
/*  parameter         waarde */
    EGGP_PROGRAMMA,   1,
    EGGP_MAX_WACHT,   90,
    EGGP_BUS_PRIO,    2,
    EGGP_FIETS_RONDE, 1,
    STOP
};

/* ------------------------------------------------------------------------ */
/*  Extra parameters: paren naam, waarde  (elk paar eindigt met een komma)  */
/* ------------------------------------------------------------------------ */
const double EPARMS_tabel[] = {
    EP_CYCLUSTIJD,   75.0,  EP_GROEN_MIN,   4.0,  EP_GROEN_MAX,   30.0,
    EP_ALLES_ROOD,   1.5,   EP_KNIPPER_FREQ, 1.0,
    EP_VOET_UITSTEL, 2.5,
    STOP
};

/* einde KVAPTAB.C */
