#!/usr/bin/env python3
"""Writes the sample text payload (payload/text/STR*.*) of Sorvanta v2.1.

Every text is code page 1251, lines joined by CR LF, no CR LF after the last
line, one NUL byte at the end. The installer writes each one back with a CR LF
after every line, so a text that must install as N bytes is N-2 characters
long. The sizes come from payload/manifest (its size column is the resource's
bytes, NUL included): this script fills each text to exactly that size with
further sentences of its own kind. Deterministic: same output on every run.

Usage: scripts/payload-texts [payload-dir]
"""

import os
import random
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
PAYLOAD = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "..", "payload")
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

def sizes():
    """Resource sizes from the manifest, by resource name."""
    result = {}
    with open(os.path.join(PAYLOAD, "manifest"), encoding="utf-8") as f:
        for line in f:
            fields = line.split("#", 1)[0].split()
            if len(fields) == 6 and fields[3].isdigit() and fields[4] == "text":
                result[fields[0]] = int(fields[3])
    return result


SIZES = {}


def write(name, filename, lines):
    text = "\r\n".join(lines)
    want = SIZES.get(name)
    if want is not None and len(text) + 1 != want:
        raise SystemExit(f"{name}: {len(text) + 1} bytes, manifest says {want}")
    data = text.encode("cp1251") + b"\0"
    with open(os.path.join(PAYLOAD, "text", filename), "wb") as f:
        f.write(data)


def text_length(name):
    """Characters of text (no NUL) the resource must have."""
    return SIZES[name] - 1




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

STR5 = [
    f"{PRODUCT}",
    "Программа составления и толкования личных характеристик.",
    "Файлы программы: Zelcap2-1.exe, Confile.man, pek.txt, psq.txt, pif.txt, health.txt.",
    "Справка: папка Help, сведения: папка Info, иллюстрации: папка img.",
]

PEOPLE = [
    ("Иванов", "Сергей", "Петрович", "12.03.1968", "м"),
    ("Петрова", "Анна", "Викторовна", "07.11.1975", "ж"),
    ("Соколов", "Дмитрий", "Андреевич", "23.05.1982", "м"),
    ("Кузнецова", "Ольга", "Ивановна", "30.01.1959", "ж"),
    ("Морозов", "Алексей", "Николаевич", "18.09.1990", "м"),
    ("Волкова", "Елена", "Сергеевна", "02.06.1987", "ж"),
]


def confile():
    want = text_length("STR36")
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


def sections_text(name, seed, headers):
    rng = random.Random(seed)
    lines = []
    want = text_length(name)
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


def page(name, filename, title, body, seed, frames=None, base=None, make=sentence):
    """An HTML page of exactly the manifest's size: the body, then filler."""
    rng = random.Random(seed)
    head = ["<html>", "<head>", META, f"<title>{title}</title>"]
    if base:  # menus open their links in the frame named here
        head.append(f'<base target="{base}">')
    head.append("</head>")
    if frames:
        open_, close = frames + ["<noframes><body>"], ["</body></noframes>", "</html>"]
    else:
        open_, close = ["<body>"], ["</body>", "</html>"]
    want = text_length(name)
    gap = want - len("\r\n".join(head + open_ + body + close))
    try:
        # One more paragraph of plain text...
        paragraph_ = f"<p>{fill(rng, gap - 2 - 7, make)}</p>" if gap >= 2 + 7 + 10 else None
    except ValueError:
        paragraph_ = None
    if paragraph_:  # before the navigation line, if there is one
        at = len(body) - 1 if body and body[-1].startswith("<p><a href") else len(body)
        body = body[:at] + [paragraph_] + body[at:]
    elif 0 < gap < 2 + 7 + 10 + 20:
        # ...or, when there is no room for one, indented inner lines.
        inner = (frames or [])[1:-1] + body if frames else body
        if not inner:
            raise SystemExit(f"{name}: {gap} bytes left and nothing to indent")
        for i in range(gap):
            inner[i % len(inner)] = " " + inner[i % len(inner)]
        if frames:
            frames[1:-1] = inner[:len(frames) - 2]
            body = inner[len(frames) - 2:]
            open_ = frames + ["<noframes><body>"]
        else:
            body = inner
    elif gap:
        raise SystemExit(f"{name}: cannot fill {gap} bytes")
    lines = head + open_ + body + close
    write(name, filename, lines)


def nav(prev, next_):
    parts = []
    if prev:
        parts.append(f'<a href="{prev}">&lt;&lt; Назад</a>')
    if next_:
        parts.append(f'<a href="{next_}">Далее &gt;&gt;</a>')
    return "<p>" + " | ".join(parts) + "</p>"


def frameset(start):
    return ['<frameset rows="56,*" border="0">',
            '<frame src="head.htm" name="head" scrolling="no" noresize>',
            '<frameset cols="190,*">',
            '<frame src="menu.htm" name="menu">',
            f'<frame src="{start}" name="main">',
            "</frameset>", "</frameset>"]


HELP_PAGES = [  # name, file, title
    ("STR31", "h1.htm", "Начало работы"),
    ("STR30", "h2.htm", "Картотека"),
    ("STR3", "h3.htm", "О программе"),
]

INFO_TITLES = ["Общие сведения", "Как читать толкования", "Основное число",
               "Число имени", "Сочетания чисел", "Характер", "Здоровье",
               "Совместимость", "Работа", "Семья", "Дружба", "Таланты",
               "Годовые циклы", "Месячные циклы", "Дневные циклы",
               "Имя и отчество", "Даты рождения", "Справочник", "Вопросы и ответы",
               "Литература"]
# Info pages in reading order with their resources; kelso.htm stands in the
# place of the 18th page.
INFO_PAGES = [("STR17", "s1.htm"), ("STR16", "s2.htm"), ("STR15", "s3.htm"),
              ("STR14", "s4.htm"), ("STR13", "s5.htm"), ("STR24", "s6.htm"),
              ("STR25", "s7.htm"), ("STR37", "s8.htm"), ("STR26", "s9.htm"),
              ("STR29", "s10.htm"), ("STR28", "s11.htm"), ("STR33", "s12.htm"),
              ("STR34", "s13.htm"), ("STR12", "s14.htm"), ("STR11", "s15.htm"),
              ("STR10", "s16.htm"), ("STR9", "s17.htm"), ("STR8", "kelso.htm"),
              ("STR7", "s19.htm"), ("STR6", "s20.htm")]


def help_pages():
    page("STR22", "STR22.htm", f"{PRODUCT} - справка", [], 22, frameset("h1.htm"),
         make=help_sentence)
    page("STR23", "STR23.htm", "Заголовок", [
        '<h2 align="center">Сорванта v2.1 - справка</h2>'], 23)
    page("STR21", "STR21.htm", "Содержание", [
        '<a href="h1.htm">Начало работы</a><br>',
        '<a href="h2.htm">Картотека</a><br>',
        '<a href="h3.htm">О программе</a><br>',
        '<a href="../Info/ZelcapInfo.htm" target="_top">Сведения</a>'], 21, base="main")
    files = [f for _, f, _ in HELP_PAGES]
    for i, (name, filename, title) in enumerate(HELP_PAGES):
        prev = files[i - 1] if i else None
        next_ = files[i + 1] if i + 1 < len(files) else None
        body = [f"<h3>{title}</h3>"]
        if name == "STR31":
            body += ["<p>Программа ведёт картотеку людей и составляет для каждого",
                     "характеристику по дате рождения и имени.</p>",
                     "<ol>", "<li>Откройте картотеку кнопкой «Картотека».</li>",
                     "<li>Добавьте запись: фамилию, имя, отчество и дату рождения.</li>",
                     "<li>Выберите запись и нажмите «Толкование».</li>",
                     "<li>Текст толкования можно напечатать или сохранить в файл.</li>",
                     "</ol>"]
        elif name == "STR30":
            body += ["<p>Картотека хранится в файле Confile.man в папке программы.",
                     "Каждая строка файла - одна запись, поля разделены точкой с запятой.</p>"]
        else:
            body += ["<p>Сорванта, версия 2.1.</p>"]
        body.append(nav(prev, next_))
        page(name, f"{name}.htm", title, body, int(name[3:]), make=help_sentence)


def info_pages():
    page("STR19", "STR19.htm", f"{PRODUCT} - сведения", [], 19, frameset("s1.htm"))
    page("STR20", "STR20.htm", "Заголовок", [
        '<h2 align="center">Сорванта v2.1 - сведения</h2>'], 20)
    menu = ["<p><b>Сведения</b></p>"]
    for i in (0, 2, 5, 9, 12, 17, 19):
        menu.append(f'<a href="{INFO_PAGES[i][1]}">{INFO_TITLES[i]}</a><br>')
    menu.append('<a href="../Help/ZelcapHelp.htm" target="_top">Справка</a>')
    page("STR18", "STR18.htm", "Содержание", menu, 18, base="main")
    files = [f for _, f in INFO_PAGES]
    for i, (name, filename) in enumerate(INFO_PAGES):
        prev = files[i - 1] if i else None
        next_ = files[i + 1] if i + 1 < len(files) else "s1.htm"
        title = INFO_TITLES[i]
        body = [f"<h3>{title}</h3>"]
        if name == "STR8":
            body += reference_body(random.Random(8))
        body.append(nav(prev, next_))
        page(name, f"{name}.htm", title, body, int(name[3:]))


def reference_body(rng):
    """The long reference page: a table of contents and numbered articles."""
    want = text_length("STR8")
    count = 0
    body = []
    articles = []
    while True:
        count += 1
        article = [f'<h4><a name="n{count}">{count}. {rng.choice(NUMBER_TITLES)}'
                   f" - {rng.choice(TRAITS)}</a></h4>"]
        article += [f"<p>{paragraph(rng, rng.randint(4, 7))}</p>" for _ in range(3)]
        toc = [f'<a href="#n{k}">{k}</a>' for k in range(1, count + 1)]
        size = len("\r\n".join(["<p>" + " ".join(toc) + "</p>"] + sum(articles + [article], [])))
        if size + 1200 > want:
            count -= 1
            break
        articles.append(article)
    body.append("<p>" + " ".join(f'<a href="#n{k}">{k}</a>' for k in range(1, count + 1)) + "</p>")
    for a in articles:
        body += a
    return body


def main():
    SIZES.update(sizes())
    os.makedirs(os.path.join(PAYLOAD, "text"), exist_ok=True)
    write("STR1", "STR1.txt", WELCOME)
    write("STR2", "STR2.txt", LICENCE)
    write("STR5", "STR5.txt", STR5)
    write("STR36", "STR36.man", confile())
    write("STR35", "STR35.txt", sections_text(
        "STR35", 35, lambda i: (f"[{i + 1}]", 2)))
    write("STR32", "STR32.txt", sections_text(
        "STR32", 32, lambda i: (f"[{i // 9 + 1}{i % 9 + 1}]", 3)))
    write("STR27", "STR27.txt", sections_text(
        "STR27", 27, lambda i: (f"[{NUMBER_TITLES[i % 9]}]", 3)))
    write("STR4", "STR4.txt", sections_text(
        "STR4", 4, lambda i: (f"[{HEALTH[i % len(HEALTH)]}]", 3)))
    help_pages()
    info_pages()


HEALTH = ["Общее состояние", "Сердце и сосуды", "Нервная система", "Пищеварение",
          "Сон", "Дыхание", "Суставы и спина", "Зрение", "Иммунитет", "Питание",
          "Движение", "Отдых"]

if __name__ == "__main__":
    main()
