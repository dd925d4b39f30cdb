#pragma once
// A database as the version that kept amounts as REAL left it (schema 3),
// for the tests of the migration to cents.

#include <string>

#include "storage/database.h"
#include "storage/schema_v1.h"
#include "storage/schema_v2.h"
#include "storage/schema_v3.h"

// A database as the previous version left it: schema 3, REAL amounts, some
// of them with the binary noise of sums made in doubles.
inline void WriteVersion3(const std::string& path, const std::string& partyValue = "1234567.01") {
  Database db(path);
  db.exec(kSchemaV1);
  db.exec(kSchemaV2);
  db.exec(kSchemaV3);
  db.exec(
      "INSERT INTO FILIAL (CDFILIAL, NMFILIAL) VALUES ('0001', 'Centro');"
      "INSERT INTO EMPRESA (CDEMPRESA, NMEMPRESA, NRINSJUREMPR) VALUES ('01', 'Empresa', '11222333000181');"
      "INSERT INTO CLIENTE VALUES ('1001', 'F', '11111111111', 'Ana', 'Ana Paula');"
      "INSERT INTO CLIENTE VALUES ('1002', 'F', '22222222222', 'Bruno', 'Bruno Costa');"
      "INSERT INTO ORCAEVENTO (CDFILIAL, NRORCAEVENTO, NRSEQORCAEVE, CDCLIENTE, CDEMPRESA)"
      "  VALUES ('0001', '0000000101', '01', '1001', '01');"
      "INSERT INTO CONTRATANTE (CDFILIAL, NRORCAEVENTO, NRSEQORCAEVE, CDCLIENTE, NRENDCLIORCEVE, VRRECECONTOREV,"
      "  IDCONTPROCESDIST, IDSITUCONTOREV) VALUES ('0001', '0000000101', '01', '1001', '1', " + partyValue +
      ", 'S', 'CANCELADO');"
      "INSERT INTO CONTRATANTE (CDFILIAL, NRORCAEVENTO, NRSEQORCAEVE, CDCLIENTE, NRENDCLIORCEVE, VRRECECONTOREV)"
      "  VALUES ('0001', '0000000101', '01', '1002', '1', 0.1 + 0.2);");
  for (const char* row : {"('01', 33.33, 'B')", "('02', 33.33, 'A')", "('03', 1234567.005, 'A')"})
    db.exec(std::string(
                "INSERT INTO CONTARECEBER (CDFILIAL, NRLANCTONF, NRPARCELAREC, NRSEQVENREC, CDEMPRESA, NRORCAEVENTO,"
                " NRSEQORCAEVE, CDCLIENTE, NRENDCLIORCEVE, DOCUMENTO, DTORIGVENREC, DTATUAVENREC, VRORIGREC,"
                " VRATUAREC, IDSTATREC) SELECT '0001', '0000004101', '01', x, '01', '0000000101', '01', '1002', '1',"
                " 'NF', 46000, 46000, v, v, s FROM (SELECT column1 AS x, column2 AS v, column3 AS s FROM (VALUES ") +
            row + "))");
  db.exec(
      "INSERT INTO DISTRATOPARCIAL VALUES ('0001', '0000000101', '01', '1001', '1', '02', 4000.1 - 0.1, 1600.0,"
      "  1499.999999999, 20, 2400.0049, 'CNTPAGAR', 'SUPERVISOR');"
      "INSERT INTO CONTRATDISTRATO (CDFILIAL, NRORCAEVENTO, CDCLIENTE, NRSEQORCAEVE, NRENDCLIORCEVE,"
      "  VRORIGRECNOEDIT, VRORIGREC, VRPERCMULTA, VRMULTA, IDTPFORMAPGTO)"
      "  VALUES ('0001', '0000000101', '1002', '01', '1', 100.0, 99.99, 10, 0.1 * 3, 'V');"
      "INSERT INTO FORMAPGTO VALUES ('0001', '0000000101', '1002', 1, 47000, 33.33);"
      "INSERT INTO FORMAPGTO VALUES ('0001', '0000000101', '1002', 2, 47030, 66.66);");
  db.setUserVersion(3);
}
