#include "toolkit/caption.h"

namespace tk {

namespace {

// Walks a caption and calls the sinks for plain characters and marked letters.
template <class Plain, class Marked>
void walk(const QString& caption, Plain plain, Marked marked) {
    for (qsizetype i = 0; i < caption.size(); ++i) {
        const QChar c = caption.at(i);
        if (c != u'&') {
            plain(c);
            continue;
        }
        if (i + 1 >= caption.size()) {
            return;  // a trailing marker marks nothing and shows nothing
        }
        const QChar next = caption.at(++i);
        if (next == u'&') {
            plain(next);
        } else {
            marked(next);
        }
    }
}

QString escaped(QChar c) {
    switch (c.unicode()) {
    case u'<': return QStringLiteral("&lt;");
    case u'>': return QStringLiteral("&gt;");
    case u'&': return QStringLiteral("&amp;");
    case u'"': return QStringLiteral("&quot;");
    case u'\n': return QStringLiteral("<br>");
    default: return QString(c);
    }
}

}  // namespace

QString plainCaption(const QString& caption) {
    QString out;
    out.reserve(caption.size());
    walk(caption, [&](QChar c) { out += c; }, [&](QChar c) { out += c; });
    return out;
}

QChar accessKey(const QString& caption) {
    QChar key;
    walk(caption, [](QChar) {}, [&](QChar c) {
        if (key.isNull()) key = c;
    });
    return key;
}

bool hasMarker(const QString& caption) { return caption.contains(u'&'); }

QString labelRichText(const QString& caption) {
    // pre-wrap keeps runs of blanks as typed while still wrapping long lines
    QString out = QStringLiteral("<span style=\"white-space:pre-wrap\">");
    walk(caption, [&](QChar c) { out += escaped(c); },
         [&](QChar c) { out += QStringLiteral("<u>") + escaped(c) + QStringLiteral("</u>"); });
    return out + QStringLiteral("</span>");
}

}  // namespace tk
