#!/usr/bin/env python3
"""Writes course/log.log: the topic tree the program shows on the left.

The program reads this file as windows-1251 text with CR LF line ends; each
line is the node's level in TAB characters followed by the node text, in
pre-order.  Lesson node texts must match the urok column of seed.sql exactly.
"""
from pathlib import Path

TREE = [
    (0, "Электрический ток"),
    (1, "Урок 1. Ток, напряжение и сопротивление"),
    (1, "Урок 2. Закон Ома для участка цепи"),
    (0, "Соединение проводников"),
    (1, "Урок 3. Последовательное соединение"),
    (1, "Урок 4. Параллельное соединение"),
    (1, "Урок 5. Законы Кирхгофа"),
    (0, "Мощность и измерения"),
    (1, "Урок 6. Работа и мощность тока"),
    (1, "Урок 7. Электроизмерительные приборы"),
    (0, "Безопасность и контроль"),
    (1, "Урок 8. Электробезопасность"),
    (1, "Итоговое тестирование"),
]


def main() -> None:
    out = Path(__file__).resolve().parent.parent / "course" / "log.log"
    text = "".join("\t" * level + node + "\r\n" for level, node in TREE)
    out.write_bytes(text.encode("cp1251"))
    print(f"{out}: {len(TREE)} nodes")


if __name__ == "__main__":
    main()
