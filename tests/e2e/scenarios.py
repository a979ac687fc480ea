"""The end-to-end scenarios: what a user does with the program, step by step,
through the real window. Each takes a fresh Session (its own X server, home
and configuration) and raises on the first thing that is not as it should be."""

import os
import subprocess
import time

from xo_e2e import Failure, Skipped

ALL = {}


def scenario(f):
    ALL[f.__name__] = f
    return f


def check(condition, what):
    if not condition:
        raise Failure(what)


def first_start(s):
    """Starts the program with a new configuration and closes the tip of the day."""
    s.start()
    s.wait_window("Tip dne", 20)
    s.key("Escape")
    s.wait_no_window("Tip dne")
    return s.wait_window("Xo!")


def exit_program(s, what="the program did not end cleanly"):
    """Soubor > Konec by access keys; the program must end at once."""
    s.key("alt+s")
    s.key("k")
    check(s.wait_exit() == 0, what)


def open_file(s, path):
    """Soubor > Otevřít by access keys, the name typed into the file dialog."""
    s.key("alt+s")
    s.key("o")
    s.wait_window("Otevřít soubory")
    s.key("ctrl+a")
    s.type(path)
    s.key("Return")
    s.wait_no_window("Otevřít soubory")
    time.sleep(0.3)


@scenario
def startup_shows_the_window_before_its_work(s):
    s.start()
    s.wait_window("Tip dne", 20)
    # The tip of the day comes up over the main window, which is already on the screen.
    check("Xo!" in s.titles(), "the main window is not mapped while the tip of the day shows: %s" % s.titles())
    s.screenshot("tip-over-main")
    s.key("Escape")
    s.wait_no_window("Tip dne")
    exit_program(s)
    config = os.path.join(s.config_dir, "xo", "xo.config")
    check(os.path.exists(config), "no configuration was written at exit")
    # A damaged configuration is reported over the main window, not on an empty screen.
    with open(config, "r+b") as f:
        f.truncate(os.path.getsize(config) // 3)
    s.start()
    s.wait_trace("message", "Chybný konfigurační soubor", timeout=20)
    s.wait(lambda: s.titles().count("Xo!") == 2, "the message box over the main window")
    s.screenshot("damaged-configuration")
    s.key("Return")
    s.wait_window("Tip dne")
    s.key("Escape")
    exit_program(s)


@scenario
def open_type_find_save_and_close_by_access_keys(s):
    first_start(s)
    doc = s.write("doc.htm", b"<p>hello</p>\r\n")
    open_file(s, doc)
    s.type("X")
    s.key("alt+s")
    s.key("l")  # U&ložit, reached while the editor has the focus
    s.wait(lambda: s.read("doc.htm") == b"X<p>hello</p>\r\n", "the typed text saved through Alt+S, L")
    s.key("End")
    s.type("abc")
    s.key("ctrl+z")  # undoes the typing, as Alt+Backspace does
    s.key("ctrl+s")
    time.sleep(0.5)
    check(s.read("doc.htm") == b"X<p>hello</p>\r\n", "Ctrl+Z did not undo: %r" % s.read("doc.htm"))
    s.key("ctrl+Home")  # the search runs from the caret
    s.key("alt+v")
    s.key("n")  # &Najít
    s.wait_trace("modal", "TdlgFind")
    s.type("hello")
    s.key("alt+n")  # the dialog's own access key: its Najít button
    time.sleep(0.3)
    s.type("Z")  # replaces the found text
    s.key("ctrl+s")
    s.wait(lambda: s.read("doc.htm") == b"X<p>Z</p>\r\n", "the found text replaced and saved")
    s.key("alt+s")
    s.key("z")  # &Zavřít: saved, so no question
    exit_program(s)
    check(not [t for t in s.trace() if t[0] == "message"], "unexpected messages: %s" % s.trace())


@scenario
def undo_right_after_a_save_undoes_the_last_change(s):
    first_start(s)
    doc = s.write("undo.htm", b"")
    open_file(s, doc)
    s.type("ab")
    s.key("Left")
    s.type("c")
    s.key("ctrl+s")
    s.wait(lambda: s.read("undo.htm") == b"acb", "the typed text saved (%r)" % s.read("undo.htm"))
    s.key("alt+BackSpace")  # the first press after the save already undoes the "c"
    s.key("ctrl+s")
    s.wait(lambda: s.read("undo.htm") == b"ab", "the undone text saved (%r)" % s.read("undo.htm"))
    # With a date stamp the first press puts the old stamp back, the second the last change.
    doc = s.write("stamp.htm", b"<!--*DefDat*-->1.1.1999 x")
    open_file(s, doc)
    s.key("ctrl+End")
    s.type("y")
    s.key("ctrl+s")
    s.wait(lambda: not s.read("stamp.htm").startswith(b"<!--*DefDat*-->1.1.1999"), "the stamp refreshed")
    s.key("ctrl+z")
    s.key("ctrl+z")
    s.key("ctrl+s")
    s.wait(lambda: s.read("stamp.htm").endswith(b" x"), "the typed y undone (%r)" % s.read("stamp.htm"))
    exit_program(s)


@scenario
def save_as_onto_an_existing_file_asks_once(s):
    first_start(s)
    a = s.write("a.htm", b"old a")
    b = s.write("b.htm", b"old b")
    open_file(s, a)
    s.type("new ")
    s.key("alt+s")
    s.key("d")  # Uložit jako &Dos/Windows
    s.wait_window("Vyberte nové jméno souboru")
    s.key("ctrl+a")
    s.type(b)
    s.key("Return")
    # Only the program's own question, never the file dialog's.
    s.wait_trace("message", "Soubor %s existuje. Přepsat?" % b, timeout=5)
    s.key("alt+a")  # &Ano
    s.wait(lambda: s.read("b.htm") == b"new old a", "b.htm overwritten after one question")
    check(s.read("a.htm") == b"old a", "a.htm changed")
    questions = [t for t in s.trace() if t[0] == "message"]
    check(len(questions) == 1, "asked more than once: %s" % questions)


@scenario
def exit_with_a_modified_document_obeys_each_answer(s):
    first_start(s)
    doc = s.write("m.htm", b"text")
    open_file(s, doc)
    s.type("1")
    question = "Soubor »%s« byl změněn." % doc
    s.key("alt+s")
    s.key("k")
    s.wait_trace("message", question)
    s.key("Escape")  # Cancel: the program goes on
    s.wait_trace("answer", "cancel")
    time.sleep(0.5)
    check(s.running() and "Xo!" in s.titles(), "Cancel ended the program")
    s.key("alt+s")
    s.key("k")
    s.wait_trace("message", question, count=2)
    s.key("alt+n")  # &Ne: ends without saving
    check(s.wait_exit() == 0, "No did not end the program")
    check(s.read("m.htm") == b"text", "No saved the document")

    first_start(s)
    open_file(s, doc)  # reopened from the last run already: this brings it forward
    s.key("ctrl+Home")
    s.type("2")
    s.key("alt+s")
    s.key("k")
    s.wait_trace("message", question, count=3)
    s.key("alt+a")  # &Ano: saves, then ends
    check(s.wait_exit() == 0, "Yes did not end the program")
    check(s.read("m.htm") == b"2text", "Yes did not save: %r" % s.read("m.htm"))
    config = os.path.join(s.config_dir, "xo", "xo.config")
    check(os.stat(config).st_mode & 0o777 == 0o600, "the configuration is not private")


@scenario
def exit_with_the_help_window_open_ends_the_program(s):
    main = first_start(s)
    s.key("F1")
    s.wait_window("Nápověda Xo! – Xo! – jak s programem pracovat")
    s.xdotool("windowfocus", "--sync", main)
    exit_program(s)


# ---------------------------------------------------------------- drawing

WHITE, BLACK = (255, 255, 255), (0, 0, 0)


def editor_origin(img):
    """The left and top pixel of the document's editor: the top-left corner
    of the widest black area (not the black line of the frame around it)."""
    for y in range(80, img.height - 40):
        x = 0
        while x < img.width:
            if img.at(x, y) != BLACK:
                x += 1
                continue
            start = x
            while x < img.width and img.at(x, y) == BLACK:
                x += 1
            if (x - start >= 400 and img.at(start + 10, y - 1) != BLACK and img.at(start + 1, y + 1) == BLACK
                    and img.at(start + 10, y + 1) == BLACK):
                return start, y
    raise Failure("no editor area in the screenshot")


def ink_bands(img, left, top, width, height):
    """Row ranges of the editor that hold anything drawn, top to bottom; a
    gap of a few rows (between a caron and its letter) stays inside a band."""
    bands = []
    for y in range(top, top + height):
        if not any(img.at(x, y) != BLACK for x in range(left, left + width)):
            continue
        if bands and y - bands[-1][1] <= 3:
            bands[-1][1] = y
        else:
            bands.append([y, y])
    return bands


def white_mask(img, x0, x1, band):
    """The white pixels of a column range and band, trimmed to their box."""
    rows = [tuple(img.at(x, y) == WHITE for x in range(x0, x1)) for y in range(band[0], band[1] + 1)]
    rows = [r for r in rows if any(r)]
    if not rows:
        return ()
    cols = [i for i in range(x1 - x0) if any(r[i] for r in rows)]
    return tuple(r[cols[0]:cols[-1] + 1] for r in rows)


def white_clusters(img, left, width, band):
    """Left edges of the runs of columns that hold white pixels."""
    edges, inside = [], False
    for x in range(left, left + width):
        white = any(img.at(x, y) == WHITE for y in range(band[0], band[1] + 1))
        if white and not inside:
            edges.append(x)
        inside = white
    return edges


@scenario
def czech_text_is_drawn_cell_by_cell_and_typed_with_dead_keys(s):
    first_start(s)
    lines = ["5", "", "<p>" + "a" * 60 + "5</p>", "", "<title>Žluťoučký kůň</title>", "", "ň", "", "." * 40, ""]
    doc = s.write("czech.htm", "\r\n".join(lines).encode("cp1250"))
    open_file(s, doc)
    s.key("ctrl+End")  # the caret off the text, on the last empty line
    time.sleep(0.4)
    img = s.screenshot("czech-document")
    left, top = editor_origin(img)
    bands = ink_bands(img, left + 2, top, 700, 200)
    check(len(bands) >= 5, "expected five drawn lines, found %s" % bands)
    five, long_line, title, alone, dots = bands[:5]
    x0 = left + 2
    # Forty dots stand in forty equal cells.
    edges = white_clusters(img, x0, 700, dots)
    check(len(edges) == 40, "expected 40 dots, found %d" % len(edges))
    steps = {b - a for a, b in zip(edges, edges[1:])}
    check(len(steps) == 1, "the dots drift off their cells: steps %s" % sorted(steps))
    w = steps.pop()
    # The "5" after a long run and the "ň" of the title are whole, each in its own cell.
    check(white_mask(img, x0 + 63 * w, x0 + 64 * w, long_line) == white_mask(img, x0, x0 + w, five),
          "the 5 after a long run is not drawn whole in its cell")
    check(white_mask(img, x0 + 19 * w, x0 + 20 * w, title) == white_mask(img, x0, x0 + w, alone),
          "the ň of the title is not drawn whole in its cell")

    s.key("dead_caron", "d", "dead_caron", "t", "dead_acute", "o", "dead_caron", "N")
    s.key("ctrl+s")
    s.wait(lambda: s.read("czech.htm").endswith("ďťóŇ".encode("cp1250")),
           "the characters typed with dead keys saved")
    s.screenshot("dead-keys-typed")


@scenario
def a_full_disk_and_a_hostile_page_lose_nothing(s):
    first_start(s)
    # A small file system: the save cannot complete, and the old file stays.
    small = s.path("small")
    os.makedirs(small)
    mounted = os.geteuid() == 0 and subprocess.run(
        ["mount", "-t", "tmpfs", "-o", "size=64k", "tmpfs", small], capture_output=True).returncode == 0
    try:
        if mounted:
            doc = os.path.join(small, "doc.htm")
            with open(doc, "wb") as f:
                f.write(b"41 bytes of a small document, nearly done")
            fill = os.open(os.path.join(small, "fill"), os.O_WRONLY | os.O_CREAT)
            try:
                while os.write(fill, b"f" * 4096) > 0:
                    pass
            except OSError:
                pass
            os.close(fill)
            open_file(s, doc)
            s.type("more ")
            s.key("ctrl+s")
            s.wait_trace("message", "Chyba při ukládání souboru")
            s.key("Return")
            with open(doc, "rb") as f:
                check(f.read() == b"41 bytes of a small document, nearly done", "the full disk emptied the file")
            s.key("alt+s")
            s.key("z")
            s.wait_trace("message", "byl změněn")  # still modified: the close asks
            s.key("alt+n")
        else:
            print("e2e: no tmpfs can be mounted here; the full-disk part is left to the unit tests")
    finally:
        if mounted:
            time.sleep(0.3)
            subprocess.run(["umount", "-l", small])
    # A page whose images name /dev/zero and a FIFO: the preview shows, the program stays.
    os.mkfifo(s.path("pipe.png"))
    page = s.write("hostile.htm", b'<HTML><BODY><P>Obsah</P><IMG src="file:///dev/zero"><IMG src="pipe.png"></BODY></HTML>')
    open_file(s, page)
    # The "OLE náhled" tab of the document window, near the bottom of the window at this screen size.
    shown = False
    for y in (646, 636, 656, 626):
        s.click(215, y)
        time.sleep(0.5)
        shown = s.screenshot("preview").at(300, 300) == WHITE  # the preview's white page
        if shown:
            break
    check(shown, "the preview page did not show")
    s.wait(lambda: s.running(), "the program still running")
    exit_program(s, "the program did not end cleanly after the preview")


@scenario
def tag_commands_by_shortcuts_menus_and_buttons(s):
    first_start(s)
    doc = s.write("tags.htm", b"word\r\n")
    open_file(s, doc)
    s.key("shift+End")
    s.key("ctrl+b")  # the selection wrapped, the caret after <B>
    s.key("End")
    s.key("ctrl+p")  # nothing selected: a lone <P>
    s.key("alt+e")   # &Entity > &Zalomení řádek > &Zalomení řádky
    s.key("z")
    s.key("z")
    s.key("alt+e")   # &Entity > Sp&eciální znaky > &Copyright
    s.key("e")
    s.key("c")
    s.screenshot("tags-written")
    s.key("ctrl+s")
    s.wait(lambda: s.read("tags.htm") == b"<B>word</B><P><BR>&copy;\r\n",
           "the tags written and saved (%r)" % s.read("tags.htm"))
    exit_program(s)


def saved(s, name, expected):
    s.key("ctrl+s")
    s.wait(lambda: s.read(name) == expected, "%r saved (%r)" % (expected, s.read(name)))


@scenario
def font_and_rule_dialogs_by_keyboard(s):
    first_start(s)
    doc = s.write("font.htm", b"word")
    open_file(s, doc)
    s.key("shift+End")
    s.key("alt+e")  # &Entity > &Text > &Font
    s.key("t")
    s.key("f")
    s.wait_trace("modal", "TfrmTagFont")
    s.key("alt+v")  # the size group: its first item, then two down
    s.key("space")
    s.key("Down")
    s.key("Down")
    s.key("alt+t")  # &Tučný
    s.screenshot("font-dialog")
    s.key("Return")
    s.wait_no_window("Definice fontu")
    saved(s, "font.htm", b'<FONT size="+3"><B>word</B></FONT>')
    # The rule: a wrong width is refused with the focus back in the field.
    s.key("ctrl+End")
    s.key("ctrl+h")
    s.wait_trace("modal", "TfrmTagHR")
    s.type("abc")
    s.key("Return")
    s.wait_trace("message", "V tomto políčku zadejte číselnou hodnotu")
    s.key("Return")
    time.sleep(0.3)
    s.key("ctrl+a")
    s.type("50")
    s.key("alt+c")  # V pro&centech
    s.key("alt+t")  # &Tloušťka
    s.type("2")
    s.key("alt+b")  # &Bez stínu
    s.key("alt+s")  # &Střed
    s.screenshot("rule-dialog")
    s.key("Return")
    s.wait_no_window("Vodorovná linka")
    saved(s, "font.htm", b'<FONT size="+3"><B>word</B></FONT><HR width=50% size=2 noshadow align=center>')
    exit_program(s)


GIF_600x400 = b"GIF89a\x58\x02\x90\x01\x00\x00" + b"\x00" * 20


@scenario
def image_dialog_reads_the_size_and_a_link_goes_around_it(s):
    first_start(s)
    s.write("logo.gif", GIF_600x400)
    doc = s.write("page.htm", b"")
    open_file(s, doc)
    s.key("alt+e")  # &Entity > &Reference > Reference &obrazem
    s.key("r")
    s.key("o")
    s.wait_trace("modal", "TfrmTagImg")
    s.key("space")  # the image button has the focus
    s.wait_window("Výběr obrázku")
    s.key("ctrl+a")
    s.type(s.path("logo.gif"))
    s.key("Return")
    s.wait_trace("message", "Vložit do formuláře nalezené rozměry obrázku?")
    s.key("alt+a")  # &Ano
    s.wait_trace("answer", "yes")
    time.sleep(0.3)
    s.screenshot("image-dialog")
    s.key("Return")
    s.wait_trace("modal", "TfrmAhref")
    s.type("big.htm")
    s.key("alt+n")  # &Nové: a new window
    s.screenshot("link-dialog")
    s.key("Return")
    s.wait_no_window("Odkaz")
    saved(s, "page.htm", b'<A href="big.htm" target="_blank"><IMG src="logo.gif" width=600 height=400></A>')
    exit_program(s)


@scenario
def marquee_list_and_help_in_a_dialog(s):
    first_start(s)
    doc = s.write("run.htm", b"text")
    open_file(s, doc)
    s.key("shift+End")
    s.key("alt+e")  # &Entity > &Text > Běžící te&xt
    s.key("t")
    s.key("x")
    s.wait_trace("modal", "TfrmTagMarquee")
    s.key("alt+p")  # &Počet
    s.key("ctrl+a")
    s.type("5")
    s.key("alt+a")  # Šířk&a
    s.type("300")
    s.key("alt+b")  # &Barva pozadí: white unless a colour is chosen
    s.screenshot("marquee-dialog")
    s.key("F1")     # help on the focused control, usable while the dialog waits
    s.wait_window("Nápověda Xo! – Běžící text")
    s.screenshot("help-over-the-dialog")
    s.key("Escape")
    s.wait_no_window(r"Nápověda Xo!.*")
    time.sleep(0.3)
    s.key("Return")
    s.wait_no_window(r"Marquee \(běžící text\)")
    saved(s, "run.htm", b"<MARQUEE behavior=scroll direction=left loop=5 width=300 align=top bgcolor=#ffffff>"
                        b"text</MARQUEE>")
    s.key("ctrl+End")
    s.key("alt+e")  # &Entity > &Seznamy > &Nečíslovaný seznam
    s.key("s")
    s.key("n")
    s.wait_trace("modal", "TfrmTagUL")
    s.key("Down")  # Prázdné kolečko
    s.key("Return")
    s.wait_no_window("Nečíslovaný seznam")
    saved(s, "run.htm", b"<MARQUEE behavior=scroll direction=left loop=5 width=300 align=top bgcolor=#ffffff>"
                        b"text</MARQUEE><UL type=circle>\r\n\r\n</UL>\r\n")
    exit_program(s)


@scenario
def table_from_selected_lines_and_a_cell_with_options(s):
    first_start(s)
    doc = s.write("lines.htm", b"a b\r\nc d\r\n")
    open_file(s, doc)
    s.key("shift+ctrl+End")
    s.key("alt+e")  # &Entity > Ta&bulky > &Tabulka: the full form for a selection
    s.key("b")
    s.key("t")
    s.wait_trace("modal", "TfrmTable")
    s.key("alt+e")  # Oddělovač jsou dvě m&ezery: off, so one space separates
    s.key("alt+t")  # Koncové &tagy
    s.screenshot("table-dialog")
    s.key("Return")
    s.wait_no_window("Tabulka")
    saved(s, "lines.htm", b"<TABLE>\r\n <TR> <TH>a </TH><TH>b</TH></TR>\r\n <TR> <TD>c </TD><TD>d</TD></TR>\r\n"
                          b"\r\n</TABLE>\r\n")
    s.key("ctrl+End")
    s.key("alt+e")  # Ta&bulky > Rozšíření definice buňky: by arrows, it has no access key
    s.key("b")
    for _ in range(9):
        s.key("Down")
    s.key("Return")
    s.wait_trace("modal", "TfrmCellOptions")
    s.key("alt+h")  # the horizontal group: its first item
    s.key("Down")
    s.key("Down")
    s.key("space")  # centrovat
    s.key("alt+n")  # &Nezalamovat text
    s.key("Return")
    s.wait_no_window("Atributy buňky")
    saved(s, "lines.htm", b"<TABLE>\r\n <TR> <TH>a </TH><TH>b</TH></TR>\r\n <TR> <TD>c </TD><TD>d</TD></TR>\r\n"
                          b"\r\n</TABLE>\r\n<TD align=center nowrap>")
    exit_program(s)


@scenario
def grid_editor_types_cells_and_imports_a_dbf_table(s):
    first_start(s)
    doc = s.write("grid.htm", b"")
    open_file(s, doc)
    s.key("alt+e")  # &Entity > Ta&bulky > &Interaktivní tabulka
    s.key("b")
    s.key("i")
    s.wait_trace("modal", "TfrmTableInteractive")
    s.key("alt+l")  # Počet s&loupců
    s.key("ctrl+a")
    s.type("2")
    s.key("alt+t")  # the &Tabulka page, the keyboard in the grid's first cell
    time.sleep(0.3)
    s.type("x")
    s.key("Tab")
    s.type("y")
    s.key("Return")
    s.key("alt+k")  # O&k
    s.wait_trace("message", "Vygenerovat tabulku?")
    s.key("alt+a")  # &Ano
    s.wait_no_window("Definice tabulky pomocí spreadsheetu")
    saved(s, "grid.htm", b"<TABLE>\r\n <TR> <TH>x <TH>y \r\n <TR> <TH> <TD> \r\n <TR> <TH> <TD> \r\n</TABLE>")
    # The DBF import: the file dialog comes up with the editor.
    data = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..", "shared", "testdata", "dbf",
                        "dbase_03.dbf")
    if not os.path.exists(data):
        exit_program(s)
        raise Skipped("../shared/testdata/dbf/dbase_03.dbf is absent: the DBF import through the window was not run")
    with open(data, "rb") as f:
        s.write("dbase_03.dbf", f.read())
    s.key("ctrl+End")
    s.key("alt+e")  # Ta&bulky > Import z &DBF
    s.key("b")
    s.key("d")
    s.wait_window("Import z DBF")
    s.key("ctrl+a")
    s.type(s.path("dbase_03.dbf"))
    s.key("Return")
    s.wait_no_window("Import z DBF")
    time.sleep(0.5)
    s.key("alt+t")
    time.sleep(0.3)
    s.screenshot("grid-after-dbf-import")
    s.key("alt+k")
    s.wait_trace("message", "Vygenerovat tabulku?", count=2)
    s.key("alt+a")
    s.wait_no_window("Definice tabulky pomocí spreadsheetu")
    s.key("ctrl+s")
    s.wait(lambda: b" <TR> <TH>Point_ID <TH>Type <TH>Shape" in s.read("grid.htm"), "the imported table saved")
    text = s.read("grid.htm")
    check(text.count(b" <TR>") == 3 + 15, "15 rows imported after the 3 typed: %d" % text.count(b" <TR>"))
    check(b"<TH>0507121 <TD>CMP <TD>circular" in text, "the first record's cells")
    exit_program(s)


@scenario
def frameset_wizard_by_mouse_and_keys(s):
    first_start(s)
    doc = s.write("frames.htm", b"")
    open_file(s, doc)
    s.key("alt+e")  # &Entity > Rá&mce > &Definice rámců (průvodce)
    s.key("m")
    s.key("d")
    s.wait_trace("modal", "TfrmFrameSet")
    wizard = s.wait_window("Definice rámců")
    time.sleep(0.3)
    x, y, width, _ = s.geometry(wizard)
    # The base frame: 350 × 250, centred at the top of the wizard.
    s.click(x + width // 2, y + 160, button=3)
    time.sleep(0.3)
    s.key("v")      # Rozdělit &vertikálně, in the middle
    time.sleep(0.3)
    s.key("Tab")    # the left frame, then the right one
    s.key("Tab")
    s.key("Menu")   # the pop-up menu by keyboard: split at the middle
    time.sleep(0.3)
    s.key("h")      # Rozdělit &horizontálně
    time.sleep(0.3)
    s.screenshot("wizard-after-two-splits")
    s.key("shift+Tab")
    s.key("Return")  # the left frame's parameters
    s.wait_trace("modal", "TfrmFrameParams")
    s.type("menu.htm")
    s.key("alt+c")  # &Cílový rámec
    s.type("_top")
    s.key("alt+r")  # &Rolování
    s.key("Down")
    s.key("Down")   # Nikdy
    s.key("Return")
    s.wait_no_window("Parametry rámce")
    s.key("alt+k")
    s.wait_no_window("Definice rámců")
    s.key("ctrl+s")
    s.wait(lambda: b"</FRAMESET>\r\n</FRAMESET>\r\n" in s.read("frames.htm"), "the frameset saved")
    text = s.read("frames.htm").decode("cp1250")
    import re
    check(re.fullmatch(r'<FRAMESET COLS="\d+,\*">\r\n <FRAME src="menu.htm" name="Ramec1" target="_top" '
                       r'scrolling=NO>\r\n <FRAMESET ROWS="\d+,\*">\r\n  <FRAME src="" name="Ramec2_1">\r\n'
                       r'  <FRAME src="" name="Ramec2_2">\r\n </FRAMESET>\r\n</FRAMESET>\r\n', text),
          "the frameset as designed: %r" % text)
    exit_program(s)


@scenario
def new_page_skeleton_then_a_clock(s):
    first_start(s)
    s.key("ctrl+n")
    s.wait_trace("modal", "TfrmNewDocument")
    s.key("alt+z")  # Vytvoři &základní strukturu
    s.key("Return")
    s.wait_window("Vyberte nové jméno souboru")
    s.key("ctrl+a")
    s.type(s.path("page.htm"))
    s.key("Return")
    s.wait_trace("modal", "TfrmTagBody")
    s.type("Test")
    s.key("Return")
    s.wait_no_window(r"Struktura dokumentu \(tag BODY\)")
    time.sleep(0.3)
    s.key("alt+e")  # &Entity > &Javascripty > &Hodiny
    s.key("j")
    s.key("h")
    s.wait_trace("message", "Tag SCRIPT nenalezen! Vytvořit?")
    s.key("alt+a")
    time.sleep(0.3)
    s.key("ctrl+s")
    s.wait(lambda: b"startclock()" in s.read("page.htm"), "the clock saved")
    text = s.read("page.htm")
    check(text.startswith(b'<HTML>\r\n\r\n<SCRIPT language="JavaScript"><!-- \r\n\r\nvar timerID = null;'),
          "the SCRIPT element before the title: %r" % text[:80])
    check(b'</SCRIPT>\r\n\r\n<TITLE>Test</TITLE>\r\n<BODY onload="startclock()">\r\n\r\n<FORM name="clock"' in text,
          "the onload and the clock form on the body's empty line: %r" % text)
    check(text.endswith(b"</BODY></HTML>\r\n\r\n<!-- Created using Xo! HTML Editor (32bit version) -->"),
          "the closing comment")
    exit_program(s)


@scenario
def tag_under_the_caret_delete_reedit_and_help(s):
    first_start(s)
    doc = s.write("tags.htm", b"<B>bold</B> <HR width=50% size=2>\r\n<TD>x</TD>")
    open_file(s, doc)
    s.key("ctrl+Home")
    s.key("Right")
    s.key("ctrl+d")  # the B tag and its partner
    time.sleep(0.3)
    s.key("ctrl+s")
    s.wait(lambda: s.read("tags.htm") == b"bold <HR width=50% size=2>\r\n<TD>x</TD>", "both B tags deleted")
    for _ in range(8):
        s.key("Right")  # into the HR tag
    s.key("ctrl+e")
    s.wait_trace("modal", "TfrmTagHR")
    s.key("alt+b")  # &Bez stínu
    s.key("Return")
    s.wait_no_window("Vodorovná linka")
    s.key("ctrl+s")
    s.wait(lambda: s.read("tags.htm") == b"bold <HR width=50% size=2 noshadow>\r\n<TD>x</TD>",
           "the rule re-edited (%r)" % s.read("tags.htm"))
    s.key("Down")
    s.key("Home")
    s.key("Right")
    s.key("ctrl+F1")  # help on TD: the table topic
    s.wait_window("Nápověda Xo! – TABLE, TR, TD, TH – tabulka")
    time.sleep(0.5)
    s.screenshot("help-on-the-table-tag")
    s.key("Escape")
    s.wait_no_window(r"Nápověda Xo!.*")
    exit_program(s)


@scenario
def document_check_export_and_information(s):
    first_start(s)
    doc = s.write("check.htm", "<B><I>Žluťoučký kůň</B>\r\n".encode("cp1250"))
    open_file(s, doc)
    s.key("alt+n")  # &Nástroje > &Kontrola dokumentu
    s.key("k")
    s.wait_trace("message", "Tag I (řádek 1) by na tomto místě měl mít koncovou část.")
    s.key("Return")
    s.key("alt+n")  # &Export do TXT
    s.key("e")
    s.wait_window("Export do textového souboru")
    s.key("Return")  # the proposed name: check.txt beside the page
    s.wait(lambda: os.path.exists(s.path("check.txt")), "the export written")
    check(s.read("check.txt") == "Žluťoučký kůň\r\n".encode("cp1250"), "the export: %r" % s.read("check.txt"))
    s.key("alt+n")  # &Odstranit diakritiku
    s.key("o")
    s.key("ctrl+s")
    s.wait(lambda: s.read("check.htm") == b"<B><I>Zlutoucky kun</B>\r\n", "the diacritics removed and saved")
    s.key("alt+n")  # &Informace o systému
    s.key("i")
    s.wait_window("Informace")
    time.sleep(0.5)
    s.screenshot("information-window")
    s.key("Return")
    s.wait_no_window("Informace")
    exit_program(s)


@scenario
def options_pages_and_a_browser_for_f12(s):
    first_start(s)
    doc = s.write("my page.htm", b"<P>x</P>")
    open_file(s, doc)
    record = s.path("args.txt")
    browser = s.write("browser.sh", ("#!/bin/sh\nprintf '%%s\\n' \"$#\" \"$1\" > '%s'\n" % record).encode())
    os.chmod(browser, 0o755)
    s.key("alt+n")  # &Nástroje > &Volitelné parametry
    s.key("v")
    s.wait_trace("modal", "TfrmOptions")
    s.key("alt+y")  # St&yly textu
    time.sleep(0.3)
    s.screenshot("options-styles")
    s.key("alt+c")  # &Cesty k prohlížečům
    time.sleep(0.2)
    s.key("alt+n")  # &Netscape:
    s.key("ctrl+a")
    s.type(browser)
    s.key("alt+e")  # Internet &Explorer:
    s.key("ctrl+a")
    s.key("BackSpace")
    time.sleep(0.2)
    s.screenshot("options-browsers")
    s.key("alt+b")  # &Barvy editoru
    time.sleep(0.2)
    s.screenshot("options-colours")
    s.key("alt+k")  # O&k, which no colour button shares
    s.wait_no_window("Volitelné parametry")
    s.key("F12")  # save, then the one browser with the path as its one argument
    s.wait(lambda: os.path.exists(record), "the browser started")
    time.sleep(0.3)
    with open(record) as f:
        got = f.read()
    check(got == "1\n%s\n" % doc, "the browser's arguments: %r" % got)
    exit_program(s)


@scenario
def a_utf8_page_is_opened_typed_into_and_saved_as_utf8(s):
    first_start(s)
    doc = s.write("utf8.htm", "<P>Příliš žluťoučký kůň 😀</P>\r\n".encode("utf-8"))
    open_file(s, doc)
    s.wait_trace("message", "převedeny na číselné odkazy HTML")  # the emoji, said once
    s.key("Return")
    s.key("ctrl+End")
    s.key("dead_caron", "z", "dead_acute", "u")  # ž and ú with dead keys
    s.type("ě")
    s.screenshot("utf8-page")
    s.key("ctrl+s")
    want = "<P>Příliš žluťoučký kůň &#128512;</P>\r\nžúě".encode("utf-8")
    s.wait(lambda: s.read("utf8.htm") == want, "the page saved as UTF-8 (%r)" % s.read("utf8.htm"))
    exit_program(s)


@scenario
def search_in_files_and_open_a_result(s):
    first_start(s)
    os.makedirs(s.path("web/sub"), exist_ok=True)
    s.write("web/sub/found.htm", b"<TABLE><TR><TD>x</TD></TR></TABLE>")
    s.write("web/other.htm", b"<P>nothing</P>")
    s.key("alt+n")  # &Nástroje > &Hledání souborů
    s.key("h")
    s.wait_trace("modal", "TfrmSearchFiles")
    s.key("alt+v")  # &Výchozí adresář
    s.key("ctrl+a")
    s.type(s.path("web"))
    s.key("alt+e")  # Ř&etězec
    s.type("table")
    s.key("alt+h")  # &Hledat, not the result page's tab
    s.wait_trace("message", "Hotovo")
    s.key("Return")
    time.sleep(0.3)
    s.screenshot("search-results")
    s.key("space")   # the keyboard is in the results: tick the one file
    s.key("alt+o")   # &Otevřít
    s.key("Escape")
    s.wait_no_window("Hledání souborů")
    time.sleep(0.3)
    s.type("Q")      # into the document just opened
    s.key("ctrl+s")
    s.wait(lambda: s.read("web/sub/found.htm").startswith(b"Q<TABLE>"), "the found file opened, typed into, saved")
    exit_program(s)


def ftp_server(s, user, password):
    """A real FTP server on 127.0.0.1 over the session's home/ftp; (process, port)."""
    import socket
    probe = socket.socket()
    probe.bind(("127.0.0.1", 0))
    port = probe.getsockname()[1]
    probe.close()
    os.makedirs(s.path("ftp/www"), exist_ok=True)
    server = subprocess.Popen(["/usr/bin/python3", "-m", "pyftpdlib", "-i", "127.0.0.1", "-p", str(port), "-w",
                               "-d", s.path("ftp"), "-u", user, "-P", password],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def listening():
        try:
            socket.create_connection(("127.0.0.1", port), 0.2).close()
            return True
        except OSError:
            return server.poll() is not None and "exited"
    check(s.wait(listening, "the FTP server", 15) is True, "pyftpdlib did not start (python3-pyftpdlib)")
    return server, port


def upload_answering(s, question, shot):
    """The upload runs; its one question is answered Yes; the log at its end."""
    s.wait_trace("message", question, timeout=20)
    s.key("alt+a")
    s.wait_trace("message", "Konec instalace", timeout=20)
    time.sleep(0.3)
    s.screenshot(shot)
    s.key("Return")


def test_server(script, *args):
    """A server of tests/servers as a test process; (process, its JSON line), or Skipped with its reason."""
    import json
    here = os.path.dirname(os.path.abspath(__file__))
    server = subprocess.Popen(["/usr/bin/python3", os.path.join(here, "..", "servers", script)] + list(args),
                              stdin=subprocess.PIPE, stdout=subprocess.PIPE)
    info = json.loads(server.stdout.readline() or b"{}")
    if "port" not in info:
        server.kill()
        server.wait()
        raise Skipped(info.get("error", script + " did not start"))
    return server, info


def sftp_server(s):
    """OpenSSH's sshd on 127.0.0.1, its client key as the session's ~/.ssh/id_ed25519."""
    import shutil
    server, info = test_server("sftp_server.py", "--dir", s.path("sshd"))
    os.makedirs(s.path(".ssh"), mode=0o700, exist_ok=True)
    shutil.copy(info["key"], s.path(".ssh/id_ed25519"))
    os.chmod(s.path(".ssh/id_ed25519"), 0o600)
    return server, info


def tree(root):
    out = {}
    for d, _, files in os.walk(root):
        for f in files:
            p = os.path.join(d, f)
            with open(p, "rb") as h:
                out[os.path.relpath(p, root)] = h.read()
    return out


@scenario
def site_published_over_sftp_then_again_with_every_file_skipped(s):
    server, info = sftp_server(s)
    try:
        first_start(s)
        os.makedirs(s.path("web/img"), exist_ok=True)
        os.makedirs(s.path("remote"), exist_ok=True)
        s.write("web/Příliš žluťoučký.htm", "<p>kůň</p>".encode())
        s.write("web/img/a.gif", b"GIF89a" + bytes(range(256)) * 40)
        doc = s.write("web/index.htm", "<A HREF=\"Příliš žluťoučký.htm\">kůň</A> <IMG SRC=\"img/a.gif\">".encode())
        open_file(s, doc)
        s.key("alt+n")  # &Nástroje > Hie&rarchie souborů
        s.key("r")
        s.wait_trace("modal", "TfrmHierarchie")
        time.sleep(0.3)
        for field, value in (("alt+r", "sftp://127.0.0.1:%d" % info["port"]), ("alt+u", info["user"]),
                             ("alt+d", s.path("remote"))):
            s.key(field)
            s.key("ctrl+a")
            s.type(value)
        s.key("alt+e")  # no password: the key in ~/.ssh logs in
        s.key("ctrl+a")
        s.key("BackSpace")
        time.sleep(0.3)
        s.screenshot("sftp-fields")  # the port field took the URL's port
        s.key("alt+s")  # &Spojení
        s.wait_trace("message", "není mezi známými servery")
        time.sleep(0.3)
        s.screenshot("sftp-host-key-question")
        s.key("alt+a")  # &Ano: trusted and remembered in ~/.ssh/known_hosts
        s.wait_trace("message", "Přihlášení proběhlo úspěšně. Spustit vysílání souborů?", timeout=20)
        s.key("alt+a")
        upload_answering(s, "Pokusit se vytvořit potřebné adresáře pro vyslání souboru img/a.gif?", "sftp-upload-log")
        site = {n: b for n, b in tree(s.path("web")).items() if not n.endswith(".bak")}  # the editor's backup is not linked
        check(tree(s.path("remote")) == site, "the remote tree is the local one byte for byte")
        check(b"|1|" in s.read(".ssh/known_hosts"), "the host key remembered, hashed")
        stamps = {n: os.stat(os.path.join(s.path("remote"), n)).st_mtime_ns for n in tree(s.path("remote"))}

        s.key("alt+s")  # &Spojení again: the key is known now, no question
        s.wait_trace("message", "Přihlášení proběhlo úspěšně. Spustit vysílání souborů?", count=2, timeout=20)
        s.key("alt+a")  # nothing changed, nothing is sent
        s.wait_trace("message", "Konec instalace", count=2, timeout=20)
        time.sleep(0.3)
        s.screenshot("sftp-second-upload-log")
        s.key("Return")
        check({n: os.stat(os.path.join(s.path("remote"), n)).st_mtime_ns for n in tree(s.path("remote"))} == stamps,
              "the second upload sent nothing")
        s.key("Escape")
        s.wait_no_window("Hierarchie souborů")
        exit_program(s)
    finally:
        server.stdin.close()
        server.wait(10)


def ftps_server(s):
    """pyftpdlib with TLS on 127.0.0.1 over the session's home/ftps."""
    os.makedirs(s.path("ftps/www"), exist_ok=True)
    return test_server("ftps_server.py", "--dir", s.path("ftps-cert"), "--root", s.path("ftps"))


@scenario
def site_published_over_ftps_with_the_password_remembered_for_the_session(s):
    server, info = ftps_server(s)
    try:
        first_start(s)
        os.makedirs(s.path("web"), exist_ok=True)
        s.write("web/page.htm", b"<p>page</p>")
        doc = s.write("web/index.htm", b'<a href="page.htm">page</a>')
        open_file(s, doc)
        s.key("alt+n")  # &Nástroje > Hie&rarchie souborů
        s.key("r")
        s.wait_trace("modal", "TfrmHierarchie")
        time.sleep(0.3)
        for field, value in (("alt+r", "ftps://127.0.0.1:%d" % info["port"]), ("alt+u", "xo"), ("alt+d", "www")):
            s.key(field)
            s.key("ctrl+a")
            s.type(value)
        s.key("alt+e")  # no password: asked for at the log-in
        s.key("ctrl+a")
        s.key("BackSpace")
        s.key("alt+s")  # &Spojení
        s.wait_trace("modal", "TfrmHierarchiePwd")
        time.sleep(0.3)
        s.type("heslo")
        s.key("alt+p")  # Za&pamatovat heslo: no secret service here, so for the session
        time.sleep(0.2)
        s.screenshot("ftps-password-remembered-for-the-session")
        s.key("Return")
        s.wait_trace("message", "nelze ověřit (self-signed certificate)", timeout=20)
        time.sleep(0.3)
        s.screenshot("ftps-certificate-question")
        s.key("alt+a")  # &Ano: trusted from now on
        s.wait_trace("message", "Přihlášení proběhlo úspěšně. Spustit vysílání souborů?", timeout=20)
        s.key("alt+a")
        s.wait_trace("message", "Konec instalace", timeout=20)
        s.key("Return")
        for name in ("index.htm", "page.htm"):
            check(s.read("ftps/www/" + name) == s.read("web/" + name), "%s uploaded over FTPS" % name)
        time.sleep(0.5)
        s.screenshot("ftps-upload-log")
        s.key("Escape")
        s.wait_no_window("Hierarchie souborů")

        # Again: the password and the certificate are remembered, nothing is asked.
        s.key("alt+n")
        s.key("r")
        s.wait_trace("modal", "TfrmHierarchie", count=2)
        time.sleep(0.3)
        s.key("alt+s")
        s.wait_trace("message", "Přihlášení proběhlo úspěšně. Spustit vysílání souborů?", count=2, timeout=20)
        s.key("alt+n")  # &Ne
        check(len([t for t in s.trace() if t[0] == "modal" and t[1] == "TfrmHierarchiePwd"]) == 1,
              "the remembered password was asked for again")
        check(len([t for t in s.trace() if t[0] == "message" and "nelze ověřit" in t[2]]) == 1,
              "the trusted certificate was asked about again")
        s.key("Escape")
        s.wait_no_window("Hierarchie souborů")
        exit_program(s)
    finally:
        server.stdin.close()
        server.wait(10)


@scenario
def site_installed_into_a_directory_and_uploaded_over_ftp(s):
    server, port = ftp_server(s, "xo", "heslo")
    try:
        first_start(s)
        os.makedirs(s.path("web/img"), exist_ok=True)
        os.makedirs(s.path("target"), exist_ok=True)
        s.write("web/page.htm", b"<A HREF=\"index.htm\">home</A>")
        s.write("web/img/a.gif", b"GIF89a" + bytes(range(256)) * 10)
        doc = s.write("web/index.htm", b"<A HREF=\"page.htm\">page</A> <IMG SRC=\"img/a.gif\">")
        open_file(s, doc)
        s.key("alt+n")  # &Nástroje > Hie&rarchie souborů
        s.key("r")
        s.wait_trace("modal", "TfrmHierarchie")
        time.sleep(0.3)
        s.screenshot("site-lists")
        s.key("alt+i")  # &Instalace: the directory dialog opens in the home directory
        s.wait_trace("modal", "TdlgChooseDir")
        time.sleep(0.5)
        s.key("Right")  # open the home directory, then type-ahead to "target"
        time.sleep(0.5)
        s.type("ta")
        time.sleep(0.3)
        s.key("Return")
        s.wait_trace("message", "Instalace dokončena")
        s.key("Return")
        s.wait(lambda: os.path.exists(s.path("target/img/a.gif")), "the site installed")
        check(s.read("target/img/a.gif") == s.read("web/img/a.gif"), "the image copied byte for byte")
        check(s.read("target/page.htm") == s.read("web/page.htm"), "the linked page copied")

        for field, value in (("alt+r", "127.0.0.1"), ("alt+u", "xo"), ("alt+o", str(port)), ("alt+d", "www")):
            s.key(field)
            s.key("ctrl+a")
            s.type(value)
        s.key("alt+e")  # an empty password: asked for at the log-in
        s.key("ctrl+a")
        s.key("BackSpace")
        s.key("alt+s")  # &Spojení
        s.wait_trace("modal", "TfrmHierarchiePwd")
        s.type("heslo")
        s.key("Return")
        s.wait_trace("message", "Přihlášení proběhlo úspěšně. Spustit vysílání souborů?")
        s.key("alt+a")
        upload_answering(s, "Pokusit se vytvořit potřebné adresáře pro vyslání souboru img/a.gif?", "site-upload-log")
        for name in ("index.htm", "page.htm", "img/a.gif"):
            check(s.read("ftp/www/" + name) == s.read("web/" + name), "%s uploaded byte for byte" % name)
        s.key("F1")
        s.wait_window("Nápověda Xo! – Hierarchie souborů.*")
        s.key("Escape")
        s.wait_no_window(r"Nápověda Xo!.*")
        s.key("Escape")
        s.wait_no_window("Hierarchie souborů")
        exit_program(s)
    finally:
        server.kill()
        server.wait()


@scenario
def a_link_out_of_the_site_is_neither_installed_nor_uploaded(s):
    server, port = ftp_server(s, "xo", "heslo")
    try:
        first_start(s)
        os.makedirs(s.path("web/img"), exist_ok=True)
        os.makedirs(s.path("secret"), exist_ok=True)
        os.makedirs(s.path("target"), exist_ok=True)
        s.write("secret/id_rsa", b"PRIVATE KEY")
        os.symlink("../../secret/id_rsa", s.path("web/img/logo.gif"))  # as a clone or an archive may bring it
        doc = s.write("web/index.htm", b"<IMG SRC=\"img/logo.gif\"> home")
        open_file(s, doc)
        s.key("alt+n")  # &Nástroje > Hie&rarchie souborů
        s.key("r")
        s.wait_trace("modal", "TfrmHierarchie")
        s.key("alt+i")  # &Instalace into "target"
        s.wait_trace("modal", "TdlgChooseDir")
        time.sleep(0.5)
        s.key("Right")
        time.sleep(0.5)
        s.type("ta")
        time.sleep(0.3)
        s.key("Return")
        s.wait_trace("message", "img/logo.gif nelze instalovat, protože není v podadresáři hlavního souboru")
        time.sleep(0.3)
        s.screenshot("outside-link-refused")
        s.key("Return")
        s.wait_trace("message", "Instalace dokončena")
        s.key("Return")
        s.wait(lambda: os.path.exists(s.path("target/index.htm")), "the page installed")
        check(not os.path.exists(s.path("target/img/logo.gif")), "the linked secret was installed")

        for field, value in (("alt+r", "127.0.0.1"), ("alt+u", "xo"), ("alt+e", "heslo"), ("alt+o", str(port)),
                             ("alt+d", "www")):
            s.key(field)
            s.key("ctrl+a")
            s.type(value)
        s.key("alt+s")  # &Spojení
        s.wait_trace("message", "Přihlášení proběhlo úspěšně. Spustit vysílání souborů?")
        s.key("alt+a")
        upload_answering(s, "img/logo.gif nelze instalovat. Možné důvody:", "outside-link-upload-log")
        check(s.read("ftp/www/index.htm") == s.read("web/index.htm"), "the page uploaded")
        check(not os.path.exists(s.path("ftp/www/img/logo.gif")), "the linked secret was uploaded")
        s.key("Escape")
        s.wait_no_window("Hierarchie souborů")
        exit_program(s)
    finally:
        server.kill()
        server.wait()


def recovery_entries(s):
    root = s.path(".local/state/xo/recovery")
    found = []
    for folder, _, names in os.walk(root):
        found += [os.path.join(folder, n) for n in names if n.endswith(".xoj")]
    return found


@scenario
def unsaved_work_survives_a_killed_program(s):
    first_start(s)
    a = s.write("a.htm", b"first file\r\n")
    open_file(s, a)
    s.key("ctrl+End")
    s.type("typed in a")
    s.key("ctrl+n")
    s.wait_trace("modal", "TfrmNewDocument")
    s.key("alt+d")  # Prázdný &dokument
    s.key("Return")
    s.wait_window("Vyberte nové jméno souboru")
    s.key("Escape")  # no name yet
    s.wait_no_window("Vyberte nové jméno souboru")
    time.sleep(0.3)
    s.type("never saved")
    # Within two seconds after typing stops, both are in the journal.
    s.wait(lambda: len(recovery_entries(s)) == 2, "two journal entries (%s)" % recovery_entries(s), timeout=6)
    s.proc.kill()
    s.proc.wait()
    s.start()
    s.wait_trace("message", "Program minule neskončil řádně", timeout=20)
    time.sleep(0.3)
    s.screenshot("recovery-question")
    s.key("alt+o")  # &Obnovit
    s.wait_window("Tip dne", 20)
    s.key("Escape")
    s.wait_no_window("Tip dne")
    check(s.read("a.htm") == b"first file\r\n", "the file on disk changed before a save")
    s.key("alt+s")
    s.key("v")  # Uložit &vše: the unnamed one asks for its name
    s.wait_window("Vyberte nové jméno souboru")
    s.key("ctrl+a")
    s.type(s.path("new.htm"))
    s.key("Return")
    s.wait(lambda: os.path.exists(s.path("new.htm")) and s.read("a.htm") != b"first file\r\n", "both saved")
    check(s.read("a.htm") == b"first file\r\ntyped in a", "a.htm holds %r" % s.read("a.htm"))
    check(s.read("new.htm") == b"never saved", "new.htm holds %r" % s.read("new.htm"))
    s.wait(lambda: not recovery_entries(s), "the journal emptied by the saves")
    exit_program(s)


@scenario
def a_file_changed_by_another_program_is_not_overwritten_on_cancel(s):
    first_start(s)
    doc = s.write("c.htm", b"mine")
    open_file(s, doc)
    s.type("X")
    s.write("c.htm", b"the other program's bytes")
    s.key("ctrl+s")
    s.wait_trace("message", "byl změněn jiným programem a dokument obsahuje neuložené změny")
    time.sleep(0.3)
    s.screenshot("changed-file-question")
    s.key("Escape")  # Storno: not saved
    s.wait_trace("answer", "cancel")
    time.sleep(0.3)
    check(s.read("c.htm") == b"the other program's bytes", "the other program's bytes were overwritten")
    # An unmodified document is offered the new text when the window comes back.
    s.key("alt+s")
    s.key("k")
    s.wait_trace("message", "Soubor »%s« byl změněn." % doc)
    s.key("alt+n")  # &Ne: ends without saving
    check(s.wait_exit() == 0, "the program did not end")
    check(s.read("c.htm") == b"the other program's bytes", "the exit wrote over the file")


@scenario
def an_html5_page_is_checked_by_its_own_rules(s):
    first_start(s)
    page = "<!DOCTYPE html>\r\n<html lang=cs>\r\n<p>Žluťoučký <b><i>kůň</b></i>\r\n</html>\r\n"
    doc = s.write("five.htm", page.encode("utf-8"))
    open_file(s, doc)
    s.key("alt+n")  # &Nástroje > &Kontrola dokumentu
    s.key("k")
    s.wait_trace("message", "Tag I (řádek 3) má být ukončen před </b>. (pravidla HTML5)")
    time.sleep(0.3)
    s.screenshot("html5-check")
    s.key("Return")
    s.type("#")  # the caret stands right before the misplaced end tag
    s.key("ctrl+s")
    want = page.replace("kůň</b>", "kůň#</b>").encode("utf-8")
    s.wait(lambda: s.read("five.htm") == want, "the caret at the fault (%r)" % s.read("five.htm"))
    exit_program(s)


@scenario
def check_from_a_shell_without_a_display(s):
    good = s.write("good.html", b"<!doctype html><title>t</title><p>ok")
    bad = s.write("bad.html", b"<!DOCTYPE html>\n<div>\n<span>x</div>\n")
    env = {k: v for k, v in s.env.items() if k not in ("DISPLAY", "QT_QPA_PLATFORM")}
    r = subprocess.run([s.xo, "--check", good, bad], env=env, capture_output=True, text=True, timeout=20)
    check(r.returncode == 1, "exit code %d (%s)" % (r.returncode, r.stderr))
    check(r.stdout == "%s: Ok\n%s:3:8: Tag SPAN (řádek 3) má být ukončen před </div>. (pravidla HTML5)\n" % (good, bad),
          "output: %r" % r.stdout)
    r = subprocess.run([s.xo, "--check", good], env=env, capture_output=True, text=True, timeout=20)
    check(r.returncode == 0 and r.stdout == "%s: Ok\n" % good, "a good page: %d %r" % (r.returncode, r.stdout))
    r = subprocess.run([s.xo, "--help"], env=env, capture_output=True, text=True, timeout=20)
    check(r.returncode == 0 and "--check" in r.stdout, "--help: %d %r" % (r.returncode, r.stdout))
    r = subprocess.run([s.xo, "--nonsense"], env=env, capture_output=True, text=True, timeout=20)
    check(r.returncode == 2 and "--check" in r.stderr, "an unknown option: %d %r" % (r.returncode, r.stderr))


@scenario
def a_second_start_hands_its_file_to_the_running_window(s):
    # A socket left behind by a program that crashed: the new one takes its place.
    import socket
    stale = socket.socket(socket.AF_UNIX)
    stale.bind(os.path.join(s.runtime, "xo-%d-%s.socket" % (os.getuid(), s.display)))
    stale.close()
    first_start(s)
    b = s.write("b b.htm", b"second file")
    second = subprocess.run([s.xo, b], env=s.env, cwd=s.home, capture_output=True, timeout=20)
    check(second.returncode == 0, "the second start ended with %d: %r" % (second.returncode, second.stderr))
    time.sleep(0.5)
    check(s.running(), "the first program ended")
    s.key("ctrl+End")
    s.type("!")  # typed into the handed file, now the active document of the first window
    s.key("ctrl+s")
    s.wait(lambda: s.read("b b.htm") == b"second file!", "the file opened in the first window (%r)" % s.read("b b.htm"))
    s.screenshot("handed-over")
    # With --new-instance it is a program of its own: it does not end at once.
    other = subprocess.Popen([s.xo, "--new-instance", b], env=s.env, cwd=s.home,
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    time.sleep(2)
    check(other.poll() is None, "--new-instance handed the file over")
    other.kill()
    other.wait()
    exit_program(s)


@scenario
def a_misspelt_word_corrected_from_the_context_menu(s):
    if not os.path.exists("/usr/share/hunspell/cs_CZ.dic"):
        raise Skipped("the Czech dictionary is not installed (apt-get install hunspell-cs)")
    first_start(s)
    doc = s.write("cesky.htm", b'<p lang="cs">')
    open_file(s, doc)
    s.key("ctrl+End")
    # Czech letters by dead keys, as on a Czech keyboard (xdotool's typing of
    # letters outside the keymap is unreliable beside another X session).
    s.key("P", "dead_caron", "r", "dead_acute", "i", "l", "dead_caron", "s", "space",
          "dead_caron", "z", "l", "u", "dead_caron", "t", "o", "u", "dead_caron", "c", "k", "dead_acute", "y", "space",
          "k", "dead_abovering", "u", "dead_caron", "n")
    time.sleep(1.5)  # the dictionary loads beside the typing
    s.screenshot("misspelt-word-underlined")
    s.key("ctrl+Home")
    for _ in range(15):  # into "Přílš"
        s.key("Right")
    s.key("Menu")  # the editor's context menu, the suggestions first
    time.sleep(0.5)
    s.screenshot("suggestions-in-the-context-menu")
    s.key("Down")
    s.key("Return")
    saved(s, "cesky.htm", '<p lang="cs">Příliš žluťoučký kůň'.encode("cp1250"))
    s.key("ctrl+z")  # the correction is one undo step
    saved(s, "cesky.htm", '<p lang="cs">Přílš žluťoučký kůň'.encode("cp1250"))
    s.key("alt+n")  # &Nástroje > Kontrola &pravopisu: off, the marks go
    s.key("p")
    time.sleep(0.5)
    s.screenshot("spell-check-off")
    s.key("Menu")  # the context menu has its own items only now
    time.sleep(0.3)
    s.screenshot("context-menu-without-suggestions")
    s.key("Escape")
    exit_program(s)


@scenario
def czech_non_breaking_spaces_in_one_command(s):
    first_start(s)
    doc = s.write("mezery.htm", "<p>Byl v lese a u řeky s 5 %</p>".encode("cp1250"))
    open_file(s, doc)
    s.key("alt+n")  # &Nástroje > &Nezlomitelné mezery
    s.key("n")
    s.wait_trace("message", "Nezlomitelnou mezerou nahrazeno mezer: 5")
    time.sleep(0.3)
    s.screenshot("non-breaking-spaces-done")
    s.key("Return")
    after = "<p>Byl v&nbsp;lese a&nbsp;u&nbsp;řeky s&nbsp;5&nbsp;%</p>".encode("cp1250")
    saved(s, "mezery.htm", after)
    s.key("alt+n")  # a second run changes nothing
    s.key("n")
    s.wait_trace("message", "Nezlomitelnou mezerou nahrazeno mezer: 0")
    s.key("Return")
    s.key("ctrl+z")  # one undo step takes all five back
    saved(s, "mezery.htm", "<p>Byl v lese a u řeky s 5 %</p>".encode("cp1250"))
    exit_program(s)
