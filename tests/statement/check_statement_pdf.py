#!/usr/bin/env python3
"""Reads rescission statements back from their PDFs (poppler's pdftotext and
pdfinfo, which must say nothing on standard error) and checks every value
each party's statement shows against the server's record of it
(dxr10900-call GetTermoDistrato). Arguments: --call BIN --server HOST:PORT
FILE=BRANCH/BUDGET/SEQ/CLIENT/ADDRESS[,...] ..., the parties in the
document's order, each on pages of its own."""

import argparse
import json
import subprocess
import sys

TITLE = "Termo de Distrato Comercial"
ACCOUNT_KIND = {"CNTPAGAR": "Conta a Pagar", "CNTRECEBER": "Conta a Receber"}
STATUS = {"A": "Aberta", "B": "Baixada", "C": "Cancelada", "P": "Planejada"}
ACTIONS = {"Distrato": "Distrato parcial", "DistratoTotal": "Distrato total",
           "ConsolidaDistrato": "Consolidação do distrato",
           "ConsolidaDistratoTotal": "Consolidação do distrato total", "DesfazerDistrato": "Distrato desfeito"}
failures = []


def fail(message):
    failures.append(message)


def run(args):
    done = subprocess.run(args, capture_output=True, text=True)
    if done.returncode != 0:
        sys.exit(f"{args[0]} failed: {done.stderr}")
    return done


def money(value):
    if value is None:
        return "não registrado"
    text = f"{value:,.2f}"
    return text.replace(",", "_").replace(".", ",").replace("_", ".")


def day(value):
    return value[:10] if value else ""


def masked(kind, digits):
    if kind == "F" and len(digits) == 11:
        return f"{digits[:3]}.{digits[3:6]}.{digits[6:9]}-{digits[9:]}"
    if kind == "J" and len(digits) == 14:
        return f"{digits[:2]}.{digits[2:5]}.{digits[5:8]}/{digits[8:12]}-{digits[12:]}"
    return digits


def rows(packet):
    names = [f["name"] for f in packet["fields"]]
    return [dict(zip(names, row)) for row in packet["rows"]]


def flat(text):
    return " ".join(text.split())


def expect_in(segment, what, value, party):
    if flat(value) not in segment:
        fail(f"{party}: {what} {value!r} is not in its statement")


def check_party(segment, record, party):
    t = rows(record[0])[0]
    expected = {
        "contratante": t["NMRAZSOCCLIE"],
        "inscrição": masked(t["IDTPIJURCLIE"], t["NRINSJURCLIE"]),
        "empresa": t["NMEMPRESA"],
        "CNPJ da empresa": masked("J", t["NRINSJUREMPR"]),
        "orçamento": f'{t["NRORCAEVENTO"]} / {t["NRSEQORCAEVE"]}',
        "evento": t["NMCLIEORCA"],
        "data do evento": day(t["DTEVENTO"]),
        "cliente e endereço": f'{t["CDCLIENTE"]} / {t["NRENDCLIORCEVE"]}',
        "valor do contrato": "Valor do contrato " + money(t["VRRECECONTOREV"]),
        "valor pago": "Valor pago pelo contratante " + money(t["VRPAGO"]),
        "percentual da multa": "Percentual da multa " +
                               (money(t["VRPERCMULTA"]) + " %" if t["VRPERCMULTA"] is not None else money(None)),
        "multa": "Valor da multa " + money(t["VRMULTA"]),
        "valor calculado": "Valor calculado " + money(t["VRORIGRECNOEDIT"]),
        "valor negociado": "Valor negociado " + money(t["VRORIGREC"]),
        "conta a gerar": "Conta a gerar " + ACCOUNT_KIND.get(t["GERACTPAGAR"], "não registrado"),
        "local e data": f'{t["NMFILIAL"]}, {day(t["DTPROCESSAMENTO"])}.',
    }
    state = {"S": "em processo", "C": "consolidado", "D": "desfeito"}[t["IDESTADODISTRATO"]]
    expected["distrato"] = ("Total" if t["IDTPDISTRATOREALI"] == "TOTAL" else "Parcial") + " - " + state
    if t["NRSEQORCAEVEFILHO"]:
        expected["orçamento filho"] = "sequência " + t["NRSEQORCAEVEFILHO"]
    if t["CDCLICONTSUBORE"]:
        expected["substituto"] = t["NMFANTSUB"]
    for what, value in expected.items():
        expect_in(segment, what, value, party)
    for r in rows(record[1]):
        expect_in(segment, "parcela cancelada",
                  f'{r["NRLANCTONF"]} {r["NRPARCELAREC"]} {r["DOCUMENTO"]} {day(r["DTATUAVENREC"])} '
                  f'{money(r["VRATUAREC"])}', party)
    if not rows(record[1]):
        expect_in(segment, "parcelas canceladas", "Nenhuma parcela cancelada.", party)
    for r in rows(record[2]):
        kind = "A pagar" if r["TIPOCONTA"] == "PAGAR" else "A receber"
        expect_in(segment, "conta gerada",
                  f'{kind} {r["DOCUMENTO"]} {r["NRPARCELA"]} {day(r["DTVENCIMENTO"])} {money(r["VRPARCELA"])} '
                  f'{STATUS.get(r["IDSTATCONTA"], "")}', party)
        if r["CDCONTCORR"]:
            expect_in(segment, "conta corrente", f'c/c {r["CDCONTCORR"]}', party)
    if not rows(record[2]):
        expect_in(segment, "contas geradas", "Nenhuma conta gerada.", party)
    for r in rows(record[3]):
        for what, value in (("data do histórico", r["DTHRLOCAL"]), ("operação", ACTIONS[r["NMMETODO"]]),
                            ("operador", f'({r["CDOPERADOR"]})'), ("valores", r["DSVALORES"])):
            expect_in(segment, what, value, party)
        if r["CDOPERAPROV"]:
            expect_in(segment, "aprovador", f'({r["CDOPERAPROV"]})', party)
    # The signature lines: the party and the company.
    expect_in(segment, "assinatura do contratante", f'{t["NMRAZSOCCLIE"]} Contratante', party)
    expect_in(segment, "assinatura da empresa", f'{t["NMEMPRESA"]} Contratada', party)


def check_document(path, parties, call, server):
    info = run(["pdfinfo", path])
    if info.stderr:
        fail(f"{path}: pdfinfo warns: {info.stderr.strip()}")
    fields = dict(line.split(":", 1) for line in info.stdout.splitlines() if ":" in line)
    if "A4" not in fields.get("Page size", ""):
        fail(f"{path}: not A4: {fields.get('Page size')}")
    pages_total = int(fields["Pages"])
    text = run(["pdftotext", "-raw", "-enc", "UTF-8", path, "-"])
    if text.stderr:
        fail(f"{path}: pdftotext warns: {text.stderr.strip()}")
    pages = text.stdout.split("\f")[:pages_total]
    records = []
    for party in parties:
        branch, budget, seq, client, address = party.split("/")
        answer = run([call, "--server", server, "GetTermoDistrato", branch, budget, seq, client, address])
        records.append(json.loads(answer.stdout))
    branch = rows(records[0][0])[0]["NMFILIAL"]
    for n, page in enumerate(pages, 1):
        if branch not in page:
            fail(f"{path}: page {n} lacks the branch's name")
        if f"Página {n} de {pages_total}" not in page:
            fail(f"{path}: page {n} lacks \"Página {n} de {pages_total}\"")
    # Each party starts a page of its own with the title.
    starts = [n for n, page in enumerate(pages) if TITLE in page]
    if len(starts) != len(parties) or any(pages[n].count(TITLE) != 1 for n in starts):
        fail(f"{path}: {len(parties)} statement(s) expected, each on its own pages; titles on pages "
             f"{[n + 1 for n in starts]}")
        return
    starts.append(len(pages))
    for i, party in enumerate(parties):
        segment = flat(" ".join(pages[starts[i]:starts[i + 1]]))
        check_party(segment, records[i], f"{path} {party}")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--call", required=True)
    parser.add_argument("--server", required=True)
    parser.add_argument("documents", nargs="+")
    args = parser.parse_args()
    for document in args.documents:
        path, parties = document.split("=", 1)
        check_document(path, parties.split(","), args.call, args.server)
        print(f"{path}: {'checked' if not failures else 'FAILED'}")
    for message in failures:
        print("FAILED:", message)
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
