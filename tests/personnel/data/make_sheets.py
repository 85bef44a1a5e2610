#!/usr/bin/env python3
"""Writes the employee sheets of the import tests as spreadsheet programs save them.

LibreOffice Calc and Excel, "CSV (separated by semicolons)" on a Polish Windows: Windows-1250,
CR LF after every line, a header row, every row as wide as the used range (so empty cells at
the end of a row stay as separators), quotes only around cells holding the separator or a
quote, a quote inside such a cell doubled. Excel's "CSV UTF-8" adds the byte-order mark.
Run it in this folder; the files are committed as they come out.
"""


def cell(text):
    if ';' in text or '"' in text:
        return '"' + text.replace('"', '""') + '"'
    return text


def write(name, rows, encoding='cp1250', bom=False):
    data = ''.join(';'.join(cell(c) for c in row) + '\r\n' for row in rows).encode(encoding)
    with open(name, 'wb') as f:
        f.write((b'\xef\xbb\xbf' if bom else b'') + data)


LIBREOFFICE = [
    ['Nr ewid.', 'Imię', 'Nazwisko', 'Zespół', 'E-mail', 'Hasło', 'Plik planu', 'Zwolniony'],
    ['1001', 'Łukasz', 'Żółkiewski', 'Dział kadr', 'l.zolkiewski@firma.pl', 'Ąb12',
     'lukasz_zolkiewski', ''],
    ['1002', 'Małgorzata', 'Wiśniewska-Dąbrowska', 'Księgowość', 'm.wisniewska@firma.pl',
     'tajne9', 'malgorzata_wisniewska', ''],
    ['1003', 'Jędrzej', 'Kozłowski', '', '', 'hasło', 'jedrzej_kozlowski', 'T'],
    ['1004', 'Zofia', 'Nowak', 'Kadry; płace', 'z.nowak@firma.pl', 'ab"12', 'zofia_nowak', ''],
    ['1005', ' Ewa ', 'Kamińska ', 'Magazyn', '', 'ewa5', 'ewa_kaminska', ''],
]

EXCEL = [
    ['Numer', 'Nazwisko', 'Imię', 'Dział', 'Hasło', 'Plik', 'Zwolniony?', 'Uwagi'],
    ['00123', 'Wójcik', 'Bożena', 'Produkcja', 'b0zena', 'bozena_wojcik', 'tak', ''],
    ['00124', 'Pawłowski', 'Przemysław', 'Magazyn', 'przemo', 'przemyslaw_pawlowski', '', ''],
    ['00125', 'Król', 'Halina', 'produkcja', 'hal1na', 'halina_krol', '', 'zespół małą literą'],
    ['00126', 'Szymański', 'Mikołaj', 'Zarząd', 'mik0', 'mikolaj_szymanski', 'TAK',
     'Uwaga; zmiana umowy'],
    # Formatted but empty rows at the end of the used range.
    ['', '', '', '', '', '', '', ''],
    ['', '', '', '', '', '', '', ''],
]

UTF8 = [
    ['Numer', 'Nazwisko', 'Imię', 'Dział', 'Hasło', 'Plik', 'Zwolniony?', 'Uwagi'],
    ['2001', 'Żółkiewska', 'Łucja', 'Księgowość', 'łucja1', 'lucja_zolkiewska', '', ''],
    ['2002', 'Шевченко', 'Олена', 'Produkcja', 'olena2', 'olena_szewczenko', '', ''],
]

write('libreoffice_pracownicy.csv', LIBREOFFICE)
write('excel_pracownicy.csv', EXCEL)
write('excel_utf8_bom.csv', UTF8, encoding='utf-8', bom=True)
