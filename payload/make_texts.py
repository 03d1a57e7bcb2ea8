#!/usr/bin/env python3
"""Writes the sample texts of the payload (text/STR*.*), each of the size the manifest gives.

Every text is code page 1251, lines joined by CR LF, no CR LF after the last
line, one NUL byte at the end. The installer writes each one back with a CR LF
after every line, so a text that must install as N bytes is N-2 characters
long. This tool fills each text to exactly its size with further sentences of
its own kind. Deterministic: same output on every run, each text drawn from a
generator seeded with its resource's number.

Usage: make_texts.py [PAYLOAD-DIR]
  Run by hand to regenerate the sample texts; the build never runs it (it
  checks the texts against the manifest). PAYLOAD-DIR is this folder by default.

Reads PAYLOAD-DIR/manifest (through make_rc.py): for each text its payload
file, its size and the file it is installed as. The tool knows its texts by
that installed file (Help\\h1.htm, pek.txt), the wizard's own texts, which are
not installed, by resource name (STR1). It stops when the manifest lists a
text it does not write, or when a text does not come out at its size.
"""

import argparse
import os
import random
import sys

from make_rc import read_manifest

PRODUCT = "Сорванта v2.1"

# ---------------------------------------------------------------- sentences

CONTEXTS = ["В работе", "В семье", "В дружбе", "В любви", "В трудной ситуации",
            "В молодости", "С возрастом", "В споре", "В коллективе", "Наедине с собой",
            "В делах", "В учёбе", "В путешествии", "В быту", "В общении с детьми",
            "В новом окружении", "В минуты отдыха", "Перед важным решением"]
PERSONS = ["такой человек", "носитель этого числа", "обладатель этого сочетания",
           "человек этого типа", "он"]
VERBS = ["проявляет", "ценит", "показывает", "развивает", "бережёт", "ищет",
         "демонстрирует", "не скрывает", "умело использует"]
TRAITS = ["настойчивость", "осторожность", "щедрость", "прямоту", "терпение",
          "чувство юмора", "интерес ко всему новому", "умение слушать", "независимость",
          "практическую смекалку", "склонность к порядку", "живое воображение",
          "верность слову", "деловую хватку", "мягкость", "стремление к гармонии",
          "трезвый расчёт", "способность быстро учиться", "внутреннюю силу",
          "доброжелательность", "скромность", "любознательность", "решительность"]
BUTS = ["но иногда ему не хватает терпения", "хотя порой спешит с выводами",
        "но не любит, когда на него давят", "однако легко устаёт от рутины",
        "но с трудом признаёт свои ошибки", "хотя бывает излишне самокритичен",
        "но нуждается в поддержке близких", "однако не всегда доводит дело до конца",
        "но избегает открытых конфликтов", "хотя и скрывает свои чувства"]
ADVICE = ["Ему полезно чаще отдыхать и не брать на себя чужие заботы.",
          "Стоит научиться говорить «нет» без чувства вины.",
          "Полезно заранее планировать день и оставлять время для себя.",
          "Рекомендуется не откладывать важные разговоры.",
          "Хорошие результаты даёт работа в небольшой дружной группе.",
          "Успех приходит тогда, когда он доверяет своей интуиции.",
          "Важно помнить, что отдых тоже часть работы.",
          "Не следует принимать решения в состоянии усталости.",
          "Поддержка семьи для него важнее любых внешних наград.",
          "Занятия спортом помогают ему сохранять ровное настроение.",
          "Ведение дневника помогает лучше понять свои желания.",
          "Благоприятны занятия, требующие внимания к деталям."]
SHORT = ["Это важно.", "Так бывает часто.", "Это стоит учесть.", "Всё индивидуально.",
         "Многое зависит от воспитания.", "Совет простой, но верный.",
         "Это подтверждает практика.", "Об этом полезно помнить."]


def sentence(rng):
    kind = rng.random()
    if kind < 0.15:
        return rng.choice(ADVICE)
    s = f"{rng.choice(CONTEXTS)} {rng.choice(PERSONS)} {rng.choice(VERBS)} {rng.choice(TRAITS)}"
    if kind < 0.55:
        s += ", " + rng.choice(BUTS)
    return s + "."


ACTIONS = ["добавить запись", "изменить запись", "удалить запись", "найти человека",
           "напечатать толкование", "сохранить толкование в файл", "отсортировать картотеку",
           "перейти к следующей записи", "скопировать текст толкования",
           "выбрать другую картотеку", "посмотреть сведения о программе"]
WAYS = ["выберите нужный пункт меню", "нажмите соответствующую кнопку на панели",
        "щёлкните по записи правой кнопкой мыши", "дважды щёлкните по строке списка",
        "воспользуйтесь меню «Картотека»", "воспользуйтесь меню «Файл»",
        "нажмите клавишу F2", "выделите строку и нажмите Enter"]
HELP_NOTES = ["Изменения в картотеке сохраняются сразу.",
              "Дату рождения вводите в виде ДД.ММ.ГГГГ.",
              "Поля «Фамилия» и «Имя» обязательны для заполнения.",
              "Отменить удаление записи нельзя.",
              "Подсказка к кнопке появляется при наведении на неё указателя мыши.",
              "Размер шрифта толкования задаётся в настройках программы."]


def help_sentence(rng):
    if rng.random() < 0.3:
        return rng.choice(HELP_NOTES)
    return f"Чтобы {rng.choice(ACTIONS)}, {rng.choice(WAYS)}."


def paragraph(rng, count):
    return " ".join(sentence(rng) for _ in range(count))


def fill(rng, length, make=sentence):
    """Natural sentences of exactly `length` characters (length >= 10)."""
    if length == 0:
        return ""
    pool = {}
    refs = [f"{see} «{t}»." for see in ("См. раздел", "См. также", "Подробнее - в разделе")
            for t in INFO_TITLES + NUMBER_TITLES]
    for s in SHORT + refs + [make(rng) for _ in range(400)]:
        pool.setdefault(len(s), s)
    if length in pool:
        return pool[length]
    for a, sa in pool.items():  # two sentences and a space
        if length - a - 1 in pool:
            return sa + " " + pool[length - a - 1]
    for a, sa in pool.items():  # three
        for b, sb in pool.items():
            c = length - a - b - 2
            if c in pool:
                return sa + " " + sb + " " + pool[c]
    if length > 120:
        head = make(rng)
        return head + " " + fill(rng, length - len(head) - 1, make)
    raise ValueError(f"no filler of {length} characters")


# ------------------------------------------------------------------ output

TEXTS = {}  # the manifest's texts by installed file, by resource name if not installed


def entry(key):
    if key not in TEXTS:
        raise SystemExit(f"the manifest has no text {key}")
    return TEXTS[key]


def text_length(key):
    """Characters of text (no NUL) the resource must have."""
    return entry(key).size - 1


def seed(key):
    return int(entry(key).name[3:])  # STRn: n


def write(key, lines):
    item = entry(key)
    del TEXTS[key]
    text = "\r\n".join(lines)
    if item.size is not None and len(text) + 1 != item.size:
        raise SystemExit(f"{item.name}: {len(text) + 1} bytes, manifest says {item.size}")
    os.makedirs(os.path.dirname(item.path), exist_ok=True)
    with open(item.path, "wb") as f:
        f.write(text.encode("cp1251") + b"\0")


# ------------------------------------------------------------------- texts

WELCOME = [
    "Вас приветствует программа установки",
    f"{PRODUCT}.",
    "",
    "Рекомендуется закрыть все работающие",
    "приложения перед началом установки.",
    "",
    "Нажмите «Далее>», чтобы продолжить,",
    "или «Отмена», чтобы выйти.",
]

LICENCE = [
    f"ЛИЦЕНЗИОННОЕ СОГЛАШЕНИЕ НА ИСПОЛЬЗОВАНИЕ ПРОГРАММЫ «{PRODUCT.upper()}»",
    "",
    "Внимательно прочитайте условия настоящего соглашения перед установкой программы.",
    "Нажимая кнопку «Согласен», Вы подтверждаете, что ознакомились с условиями",
    "соглашения и принимаете их в полном объёме. Если Вы не согласны с условиями,",
    "нажмите кнопку «Отмена» и не устанавливайте программу.",
    "",
    "1. ОБЩИЕ ПОЛОЖЕНИЯ",
    f"1.1. Настоящее соглашение заключается между автором программы «{PRODUCT}»",
    "(далее - Правообладатель) и лицом, устанавливающим программу (далее - Пользователь).",
    "1.2. Программа включает исполняемый файл, файлы данных, справочную систему,",
    "иллюстрации и сопроводительную документацию.",
    "1.3. Исключительные права на программу принадлежают Правообладателю и охраняются",
    "законодательством об авторском праве.",
    "",
    "2. ПРЕДМЕТ СОГЛАШЕНИЯ",
    "2.1. Правообладатель предоставляет Пользователю неисключительное право установить",
    "программу на один компьютер и использовать её в личных некоммерческих целях.",
    "2.2. Пользователь вправе сделать одну резервную копию дистрибутива программы.",
    "2.3. Право использования предоставляется на неограниченный срок при условии",
    "соблюдения Пользователем условий настоящего соглашения.",
    "",
    "3. ОГРАНИЧЕНИЯ",
    "3.1. Пользователь не вправе:",
    "- продавать, сдавать в аренду или иным образом передавать программу третьим лицам;",
    "- вносить изменения в программу, декомпилировать или дизассемблировать её;",
    "- удалять из программы и её документации сведения об авторских правах;",
    "- распространять тексты толкований, справочные материалы и иллюстрации программы",
    "  отдельно от неё.",
    "3.2. Использование программы в коммерческих целях требует отдельного письменного",
    "разрешения Правообладателя.",
    "",
    "4. ПЕРСОНАЛЬНЫЕ ДАННЫЕ",
    "4.1. Сведения, которые Пользователь вносит в картотеку программы, хранятся только",
    "на его компьютере и никуда не передаются.",
    "4.2. Пользователь самостоятельно отвечает за получение согласия лиц, сведения о",
    "которых он заносит в картотеку.",
    "",
    "5. ОГРАНИЧЕНИЕ ОТВЕТСТВЕННОСТИ",
    "5.1. Программа предоставляется «как есть». Правообладатель не гарантирует, что",
    "программа будет соответствовать ожиданиям Пользователя и работать без ошибок.",
    "5.2. Тексты толкований носят справочный и развлекательный характер и не являются",
    "медицинской, психологической или иной профессиональной консультацией.",
    "5.3. Правообладатель не несёт ответственности за прямой или косвенный ущерб,",
    "возникший в результате использования или невозможности использования программы,",
    "включая потерю данных.",
    "",
    "6. ОБНОВЛЕНИЯ И ПОДДЕРЖКА",
    "6.1. Правообладатель вправе выпускать новые версии программы. Условия их",
    "использования определяются соглашениями, прилагаемыми к этим версиям.",
    "6.2. Поддержка Пользователей осуществляется по мере возможности Правообладателя.",
    "",
    "7. ПРЕКРАЩЕНИЕ ДЕЙСТВИЯ СОГЛАШЕНИЯ",
    "7.1. Соглашение прекращает действие при нарушении Пользователем любого из его",
    "условий. В этом случае Пользователь обязан удалить программу и все её копии.",
    "7.2. Пользователь может в любое время прекратить действие соглашения, удалив",
    "программу со своего компьютера.",
    "",
    "8. ЗАКЛЮЧИТЕЛЬНЫЕ ПОЛОЖЕНИЯ",
    "8.1. Все споры, связанные с настоящим соглашением, разрешаются путём переговоров,",
    "а при недостижении согласия - в порядке, установленном законодательством.",
    "8.2. Если какое-либо положение соглашения будет признано недействительным,",
    "остальные положения сохраняют силу.",
    "",
    f"© Правообладатель программы «{PRODUCT}». Все права защищены.",
]


def about(items):
    """The wizard's note on the product; its files are those the manifest
    installs at the top of the product folder, the program first."""
    files = [i.target for i in items if i.target != "-" and "\\" not in i.target]
    files.sort(key=lambda target: not target.endswith(".exe"))
    return [PRODUCT, "Программа составления и толкования личных характеристик.",
            f"Файлы программы: {', '.join(files)}.",
            "Справка: папка Help, сведения: папка Info, иллюстрации: папка img."]


CARDS = "Confile.man"  # the card file, a sample of it and named in the help
PEOPLE = [
    ("Иванов", "Сергей", "Петрович", "12.03.1968", "м"),
    ("Петрова", "Анна", "Викторовна", "07.11.1975", "ж"),
    ("Соколов", "Дмитрий", "Андреевич", "23.05.1982", "м"),
    ("Кузнецова", "Ольга", "Ивановна", "30.01.1959", "ж"),
    ("Морозов", "Алексей", "Николаевич", "18.09.1990", "м"),
    ("Волкова", "Елена", "Сергеевна", "02.06.1987", "ж"),
]


def confile():
    want = text_length(CARDS)
    lines = ["Фамилия;Имя;Отчество;Дата рождения;Пол;Примечание"]
    for rec in PEOPLE:
        line = ";".join(rec) + ";"
        if len("\r\n".join(lines + [line])) > want:
            break
        lines.append(line)
    # The last record's note takes up the rest.
    notes = ["", "сосед", "коллега", "по работе", "одноклассник", "родственник",
             "двоюродный брат", "знакомый семьи", "тренер секции", "бывший коллега"]
    last = lines.pop()
    gap = want - len("\r\n".join(lines + [last]))
    note = next((n for n in notes if len(n) == gap), None)
    if note is None:
        note = next(a + " " + b for a in notes for b in notes
                    if a and b and len(a) + len(b) + 1 == gap)
    lines.append(last + note)
    return lines


NUMBER_TITLES = ["Лидер", "Дипломат", "Творец", "Строитель", "Искатель", "Хранитель",
                 "Мыслитель", "Организатор", "Мудрец"]
HEALTH = ["Общее состояние", "Сердце и сосуды", "Нервная система", "Пищеварение",
          "Сон", "Дыхание", "Суставы и спина", "Зрение", "Иммунитет", "Питание",
          "Движение", "Отдых"]
# Data files made of sections: installed file, then the heading of section i
# and its number of paragraphs.
SECTIONS = {
    "pek.txt": lambda i: (f"[{i + 1}]", 2),
    "psq.txt": lambda i: (f"[{i // 9 + 1}{i % 9 + 1}]", 3),
    "pif.txt": lambda i: (f"[{NUMBER_TITLES[i % 9]}]", 3),
    "health.txt": lambda i: (f"[{HEALTH[i % len(HEALTH)]}]", 3),
}


def sections_text(key, headers):
    rng = random.Random(seed(key))
    lines = []
    want = text_length(key)
    index = 0
    while True:
        title, paras = headers(index)
        block = [title] + [paragraph(rng, rng.randint(3, 6)) for _ in range(paras)]
        if len("\r\n".join(lines + block)) + 2 + 60 > want:
            break
        lines += block
        index += 1
    gap = want - len("\r\n".join(lines)) - 2
    lines.append(fill(rng, gap))
    return lines


# ------------------------------------------------------------------- pages

META = '<meta http-equiv="Content-Type" content="text/html; charset=windows-1251">'


def page(key, title, body, frames=(), base=None, make=sentence):
    """An HTML page of exactly the manifest's size: the body, then filler."""
    rng = random.Random(seed(key))
    head = ["<html>", "<head>", META, f"<title>{title}</title>"]
    if base:  # menus open their links in the frame named here
        head.append(f'<base target="{base}">')
    head.append("</head>")
    open_ = list(frames) + ["<noframes><body>"] if frames else ["<body>"]
    close = ["</body></noframes>" if frames else "</body>", "</html>"]
    gap = text_length(key) - len("\r\n".join(head + open_ + body + close))
    try:
        # One more paragraph of plain text...
        paragraph_ = f"<p>{fill(rng, gap - 2 - 7, make)}</p>" if gap >= 2 + 7 + 10 else None
    except ValueError:
        paragraph_ = None
    if paragraph_:  # before the navigation line, if there is one
        at = len(body) - 1 if body and body[-1].startswith("<p><a href") else len(body)
        body = body[:at] + [paragraph_] + body[at:]
    elif 0 < gap < 2 + 7 + 10 + 20:
        # ...or, when there is no room for one, indented lines: those inside
        # the frameset, then the body's.
        inside = max(len(frames) - 2, 0)
        inner = open_[1:1 + inside] + body
        if not inner:
            raise SystemExit(f"{entry(key).name}: {gap} bytes left and nothing to indent")
        for i in range(gap):
            inner[i % len(inner)] = " " + inner[i % len(inner)]
        open_[1:1 + inside], body = inner[:inside], inner[inside:]
    elif gap:
        raise SystemExit(f"{entry(key).name}: cannot fill {gap} bytes")
    write(key, head + open_ + body + close)


def nav(prev, next_):
    parts = []
    if prev:
        parts.append(f'<a href="{prev}">&lt;&lt; Назад</a>')
    if next_:
        parts.append(f'<a href="{next_}">Далее &gt;&gt;</a>')
    return "<p>" + " | ".join(parts) + "</p>"


HEAD, MENU = "head.htm", "menu.htm"  # every folder of pages has both


def frameset(start):
    return ['<frameset rows="56,*" border="0">',
            f'<frame src="{HEAD}" name="head" scrolling="no" noresize>',
            '<frameset cols="190,*">',
            f'<frame src="{MENU}" name="menu">',
            f'<frame src="{start}" name="main">',
            "</frameset>", "</frameset>"]


def reference(key):
    """The long reference page: a table of contents and numbered articles."""
    rng = random.Random(seed(key))
    want = text_length(key)
    toc = lambda count: ["<p>" + " ".join(f'<a href="#n{k}">{k}</a>' for k in range(1, count + 1))
                         + "</p>"]
    articles = []
    while True:
        count = len(articles) + 1
        article = [f'<h4><a name="n{count}">{count}. {rng.choice(NUMBER_TITLES)}'
                   f" - {rng.choice(TRAITS)}</a></h4>"]
        article += [f"<p>{paragraph(rng, rng.randint(4, 7))}</p>" for _ in range(3)]
        if len("\r\n".join(toc(count) + sum(articles + [article], []))) + 1200 > want:
            return toc(len(articles)) + sum(articles, [])
        articles.append(article)


# Folders of pages: the frameset page and what the pages are about.
SITES = {"Help": ("ZelcapHelp.htm", "справка"), "Info": ("ZelcapInfo.htm", "сведения")}

# Pages of each folder in reading order: installed file, title and, for some,
# the body between the title and the links to the pages before and after (or
# a function of the page that makes it).
HELP_PAGES = [
    ("h1.htm", "Начало работы", [
        "<p>Программа ведёт картотеку людей и составляет для каждого",
        "характеристику по дате рождения и имени.</p>",
        "<ol>", "<li>Откройте картотеку кнопкой «Картотека».</li>",
        "<li>Добавьте запись: фамилию, имя, отчество и дату рождения.</li>",
        "<li>Выберите запись и нажмите «Толкование».</li>",
        "<li>Текст толкования можно напечатать или сохранить в файл.</li>",
        "</ol>"]),
    ("h2.htm", "Картотека", [
        f"<p>Картотека хранится в файле {CARDS} в папке программы.",
        "Каждая строка файла - одна запись, поля разделены точкой с запятой.</p>"]),
    ("h3.htm", "О программе", ["<p>Сорванта, версия 2.1.</p>"]),
]
# The reading order cannot be told from the names (kelso.htm stands where s18
# would), so it is kept here.
INFO_PAGES = [
    ("s1.htm", "Общие сведения"), ("s2.htm", "Как читать толкования"),
    ("s3.htm", "Основное число"), ("s4.htm", "Число имени"),
    ("s5.htm", "Сочетания чисел"), ("s6.htm", "Характер"), ("s7.htm", "Здоровье"),
    ("s8.htm", "Совместимость"), ("s9.htm", "Работа"), ("s10.htm", "Семья"),
    ("s11.htm", "Дружба"), ("s12.htm", "Таланты"), ("s13.htm", "Годовые циклы"),
    ("s14.htm", "Месячные циклы"), ("s15.htm", "Дневные циклы"),
    ("s16.htm", "Имя и отчество"), ("s17.htm", "Даты рождения"),
    ("kelso.htm", "Справочник", reference), ("s19.htm", "Вопросы и ответы"),
    ("s20.htm", "Литература"),
]
INFO_TITLES = [title for _, title, *_ in INFO_PAGES]


def site(folder, pages, make=sentence, menu=None, wrap=False):
    """A folder of pages: its frameset, title bar and contents frame, then its
    pages, each linking to the one before and the one after (after the last,
    the first if wrap). The contents frame lists the pages at the places in
    menu under a heading, or all of them without one, and the other folder."""
    start, subject = SITES[folder]
    other = next(f for f in SITES if f != folder)
    files = [file for file, *_ in pages]
    at = lambda file: f"{folder}\\{file}"
    page(at(start), f"{PRODUCT} - {subject}", [], frameset(files[0]), make=make)
    page(at(HEAD), "Заголовок", [f'<h2 align="center">{PRODUCT} - {subject}</h2>'])
    contents = [f'<a href="{files[i]}">{pages[i][1]}</a><br>'
                for i in (range(len(pages)) if menu is None else menu)]
    if menu is not None:
        contents.insert(0, f"<p><b>{subject.capitalize()}</b></p>")
    page(at(MENU), "Содержание", contents + [
        f'<a href="../{other}/{SITES[other][0]}" target="_top">{SITES[other][1].capitalize()}</a>'],
        base="main")
    for i, (file, title, *body) in enumerate(pages):
        body = body[0] if body else []
        body = body(at(file)) if callable(body) else body
        before = files[i - 1] if i else None
        after = files[(i + 1) % len(files)] if wrap or i + 1 < len(files) else None
        page(at(file), title, [f"<h3>{title}</h3>"] + body + [nav(before, after)], make=make)


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("payload", nargs="?", default=os.path.dirname(os.path.abspath(__file__)))
    payload = parser.parse_args(argv).payload
    items = read_manifest(os.path.join(payload, "manifest"))
    for item in items:
        if item.format == "text":
            item.resolve(payload, payload)
            TEXTS[item.name if item.target == "-" else item.target] = item
    write("STR1", WELCOME)
    write("STR2", LICENCE)
    write("STR5", about(items))
    write(CARDS, confile())
    for key, headers in SECTIONS.items():
        write(key, sections_text(key, headers))
    site("Help", HELP_PAGES, make=help_sentence)
    site("Info", INFO_PAGES, menu=(0, 2, 5, 9, 12, 17, 19), wrap=True)  # menu: places in INFO_PAGES
    if TEXTS:
        raise SystemExit(f"texts of the manifest this tool does not write: {', '.join(TEXTS)}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
