#!/usr/bin/env python3
"""Makes the hostile project archives kept beside this script. Run it again only to change them.

Entries hold harmless text: every one of these archives must be refused before anything is written.
The wrong-password archive is made by Info-ZIP's zip, the others by Python's zipfile, which writes any
name it is given, and then some are patched by hand."""
import os
import struct
import subprocess
import tempfile
import zipfile

AQUI = os.path.dirname(os.path.abspath(__file__))
CABECALHO = b"REZOZUR Eva-Rudo 1.3.1\r\n1.0\r\n4242\r\n"


def zipa(nome, entradas):
    with zipfile.ZipFile(os.path.join(AQUI, nome), "w", zipfile.ZIP_DEFLATED) as z:
        for n, dados in entradas:
            z.writestr(zipfile.ZipInfo(n, date_time=(2020, 1, 1, 0, 0, 0)), dados)


def mentiroso(caminho, tamanho_real, declarado=64):
    with zipfile.ZipFile(caminho, "w") as z:
        for n, d in [("Projeto.txt", CABECALHO), ("tbMembro.cof", b" " * tamanho_real)]:
            info = zipfile.ZipInfo(n, date_time=(2020, 1, 1, 0, 0, 0))
            info.compress_type = zipfile.ZIP_DEFLATED
            z.writestr(info, d)
    dados = bytearray(open(caminho, "rb").read())
    pos = 0
    while True:
        pos = dados.find(b"tbMembro.cof", pos + 1)
        if pos < 0:
            break
        if dados[pos - 30:pos - 26] == b"PK\x03\x04":
            struct.pack_into("<I", dados, pos - 30 + 22, declarado)
        if dados[pos - 46:pos - 42] == b"PK\x01\x02":
            struct.pack_into("<I", dados, pos - 46 + 24, declarado)
    open(caminho, "wb").write(bytes(dados))


def main():
    zipa("caminho-pai.prj", [("Projeto.txt", CABECALHO), ("../tbMembro.cof", b"{}")])
    zipa("caminho-absoluto.prj", [("Projeto.txt", CABECALHO), ("/tmp/tbMembro.cof", b"{}")])
    zipa("pasta-na-entrada.prj", [("Projeto.txt", CABECALHO), ("sub/tbMembro.cof", b"{}")])
    zipa("barra-invertida.prj", [("Projeto.txt", CABECALHO), ("..\\tbMembro.cof", b"{}")])
    zipa("nome-inesperado.prj", [("Projeto.txt", CABECALHO), ("leiame.txt", b"ola")])
    zipa("entrada-repetida.prj", [("Projeto.txt", CABECALHO), ("Projeto.txt", CABECALHO)])
    zipa("so-pasta.prj", [("Projeto.txt/", b"")])

    # An entry that claims 3 GiB: refused from its declared size, before any byte is inflated.
    caminho = os.path.join(AQUI, "entrada-gigante.prj")
    zipa("entrada-gigante.prj", [("Projeto.txt", CABECALHO), ("tbMembro.cof", b"x" * 64)])
    dados = bytearray(open(caminho, "rb").read())
    grande = 3 * 1024 * 1024 * 1024
    pos = 0
    while True:
        pos = dados.find(b"tbMembro.cof", pos + 1)
        if pos < 0:
            break
        if dados[pos - 30:pos - 26] == b"PK\x03\x04":   # local header: size at offset 22
            struct.pack_into("<I", dados, pos - 30 + 22, grande)
        if dados[pos - 46:pos - 42] == b"PK\x01\x02":   # central header: size at offset 24
            struct.pack_into("<I", dados, pos - 46 + 24, grande)
    open(caminho, "wb").write(bytes(dados))

    # An entry that claims 64 bytes and inflates to 16 MiB: refused once it passes its declared size,
    # whatever limit or disk space there is.
    mentiroso(os.path.join(AQUI, "tamanho-mentiroso.prj"), 16 * 1024 * 1024)

    # Right names, wrong password.
    with tempfile.TemporaryDirectory() as d:
        open(os.path.join(d, "Projeto.txt"), "wb").write(CABECALHO)
        open(os.path.join(d, "tbMembro.cof"), "wb").write(b"{}")
        destino = os.path.join(AQUI, "senha-errada.prj")
        if os.path.exists(destino):
            os.remove(destino)
        subprocess.run(["zip", "-q", "-P", "outrasenha", "-6", destino, "Projeto.txt", "tbMembro.cof"],
                       cwd=d, check=True)


if __name__ == "__main__":
    main()
