// Hebrew, right to left: the window mirrors its layout for this table.
// Keys and placeholders as in texts_en.cpp.

#include "texts.h"

#include <iterator>

namespace hovrel::language {

namespace {

const Entry kEntries[] = {
    {"title.named", "עדכון {1}"},
    {"title.plain", "עדכון"},

    {"checking.heading", "מחפש עדכונים..."},
    {"checking.text", "פונה לשרת העדכונים כדי לברר מהי הגירסה העדכנית ביותר."},

    {"offer.heading.named", "זמינה גירסה חדשה: {1} {2}."},
    {"offer.heading.plain", "גירסה {1} זמינה."},
    {"offer.installed", "הגירסה המותקנת אצלך: {1}."},
    {"offer.installed.required", "הגירסה המותקנת אצלך: {1}. עדכון זה הוא חובה."},
    {"ready.heading.named", "הכל מוכן להתקנת {1} {2}."},
    {"ready.heading.plain", "גירסה {1} מוכנה להתקנה."},
    {"notes.heading", "מה חדש:"},

    {"downloading.heading.named", "מוריד את {1} {2}..."},
    {"downloading.heading.plain", "מוריד את גירסה {1}..."},
    {"downloading.starting", "מתחיל בהורדה..."},
    {"progress.total.rate.left", "{1} מתוך {2}, {3}, {4}, נותרו {5}"},
    {"progress.total.rate", "{1} מתוך {2}, {3}, {4}"},
    {"progress.total", "{1} מתוך {2}, {3}"},
    {"progress.rate", "{1}, {2}"},
    {"size.bytes", "{1} בתים"},
    {"size.kib", "{1} KiB"},
    {"size.mib", "{1} MiB"},
    {"size.gib", "{1} GiB"},
    {"size.tib", "{1} TiB"},
    {"rate", "{1} לשנייה"},
    {"percent", "{1}%"},

    {"verifying.heading", "מאמת את העדכון..."},
    {"verifying.text", "בודק שהחבילה תואמת לזו שמצוינת במניפסט."},
    {"waiting.heading", "ממתין לסגירת היישום..."},
    {"waiting.text", "העדכון יותקן לאחר שתהליך {1} יסתיים."},
    {"installing.heading.named", "מתקין את {1} {2}..."},
    {"installing.heading.plain", "מתקין את גירסה {1}..."},
    {"installing.text", "תוכנית ההתקנה פועלת; פעולה זו עשויה להימשך כמה דקות."},
    {"stopping", "עוצר..."},

    {"installed.heading.named", "התקנת {1} {2} הושלמה."},
    {"installed.heading.plain", "גירסה {1} הותקנה."},
    {"installed.text", "תוכנית ההתקנה הסתיימה בהצלחה."},
    {"restart.heading", "יש להפעיל מחדש כדי לסיים את העדכון"},
    {"restart.text.named", "התקנת {1} {2} בוצעה; כדי לסיים אותה, יש להפעיל מחדש את Windows."},
    {"restart.text.plain", "גירסה {1} הותקנה; כדי לסיים את העדכון, יש להפעיל מחדש את Windows."},
    {"restart.failed", "לא ניתן להפעיל מחדש את Windows (שגיאה {1}). כדי לסיים את העדכון, הפעל "
                       "מחדש את המחשב מתפריט 'התחל'."},
    {"uptodate.heading.named", "מותקנת אצלך הגירסה העדכנית ביותר של {1}."},
    {"uptodate.heading.plain", "יישום זה מעודכן."},
    {"uptodate.text", "הגירסה המותקנת אצלך: {1}; הגירסה העדכנית ביותר: {2}."},
    {"uptodate.rollout", "גירסה {1} מופצת בהדרגה ותגיע למחשב זה מאוחר יותר."},
    {"uptodate.newer.windows", "גירסה {1} דורשת Windows {2} ואילך; במחשב זה מותקן {3}."},
    {"downloaded.heading.named", "ההורדה של {1} {2} הושלמה."},
    {"downloaded.heading.plain", "ההורדה של גירסה {1} הושלמה."},
    {"downloaded.text", "מיקום החבילה: {1}"},

    {"failed.usage.heading", "לא ניתן להתחיל את העדכון."},
    {"failed.usage.advice",
     "היישום הפעיל את תוכנית העדכון עם אפשרויות שהיא אינה מכירה; פנה למפרסם היישום."},
    {"failed.fetch.heading", "לא ניתן להתחבר לשרת העדכונים."},
    {"failed.fetch.advice", "בדוק את החיבור לאינטרנט ונסה שוב מאוחר יותר."},
    {"failed.manifest.heading", "לא ניתן להשתמש במידע העדכון."},
    {"failed.manifest.advice", "נסה שוב מאוחר יותר; אם הבעיה חוזרת, פנה למפרסם היישום."},
    {"failed.download.heading", "לא ניתן להוריד את העדכון."},
    {"failed.download.advice", "בדוק את החיבור לאינטרנט ואת השטח הפנוי בדיסק, ולאחר מכן נסה שוב."},
    {"failed.install.heading", "לא ניתן להתקין את העדכון."},
    {"failed.install.advice", "סגור התקנות אחרות ונסה שוב; אם הבעיה חוזרת, פנה למפרסם היישום."},
    {"failed.cancelled.heading", "העדכון הופסק."},
    {"failed.cancelled.advice", "הפעל שוב את העדכון כדי לסיים אותו."},
    {"failed.refused.heading", "העדכון נדחה מטעמי אבטחה."},
    {"failed.refused.advice",
     "העדכון לא עבר את בדיקות האבטחה, ולכן לא הותקן דבר; פנה למפרסם היישום."},
    {"failed.other.heading", "העדכון נעצר."},
    {"failed.other.advice", "נסה שוב מאוחר יותר."},
    {"failed.details", "פרטים: {1}"},
    {"failed.exit.code", "קוד יציאה {1}"},

    {"consent.heading.named", "לאפשר ל-{1} לבדוק באופן אוטומטי אם יש עדכונים?"},
    {"consent.heading.plain", "לאפשר ליישום זה לבדוק באופן אוטומטי אם יש עדכונים?"},
    {"consent.text", "היישום יפנה מדי פעם לשרת העדכונים ויציע כל גירסה חדשה; ההחלטה אם "
                     "להתקין אותה בידיך."},

    {"button.install.now", "&התקן כעת"},
    {"button.skip.version", "&דלג על גירסה זו"},
    {"button.remind.later", "ה&זכר לי מאוחר יותר"},
    {"button.restart.now", "ה&פעל מחדש כעת"},
    {"button.later", "&מאוחר יותר"},
    {"button.check.automatically", "&בדוק באופן אוטומטי"},
    {"button.dont.check", "&אל תבדוק"},
    {"button.ask.later", "&שאל אותי מאוחר יותר"},
    {"button.cancel", "ביטול"},
    {"button.close", "&סגור"},

    {"warning.not.authenticated",
     "לא מאומת: היישום לא סיפק מפתח ציבורי, ולכן מקור מידע העדכון אינו נבדק."},
    {"warning.allow.unsigned",
     "מידע העדכון אינו מאומת (--allow-unsigned): כל מי שיכול לשנות אותו קובע מה יותקן."},
    {"warning.no.size", "מידע העדכון אינו מציין גודל; לא ניתן להוריד דבר עד שהמפרסם יוסיף אותו."},
    {"warning.no.expiry",
     "למידע העדכון החתום אין תאריך תפוגה, ולכן ניתן לשלוח שוב עותק ישן שלו; בקש מהמפרסם "
     "לקבוע תאריך כזה."},
    {"warning.product",
     "מידע העדכון מיועד למוצר \"{1}\", אך היישום לא ציין איזה מוצר הוא; עליו להעביר "
     "--product {1}."},
    {"warning.retry", "כשל ברשת; ניסיון חוזר ({1} מתוך {2}) בעוד {3} שניות."},
    {"warning.skip.not.saved", "לא ניתן לשמור את הבחירה לדלג על גירסה זו; היא תוצע שוב."},
    {"warning.state.not.saved", "לא ניתן לשמור את הגדרות העדכון; העדכון ממשיך בלעדיהן."},
    {"warning.relaunch.failed", "לא ניתן היה להפעיל שוב את היישום; הפעל אותו בעצמך."},
    {"text.not.utf8", "(טקסט זה אינו UTF-8 תקין.)"},
};

} // namespace

extern const Table kTextsHe = {"he", true, kEntries, std::size(kEntries)};

} // namespace hovrel::language
