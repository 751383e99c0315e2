// Arabic, right to left: the window mirrors its layout for this table.
// Keys and placeholders as in texts_en.cpp.

#include "texts.h"

#include <iterator>

namespace hovrel::language {

namespace {

const Entry kEntries[] = {
    {"title.named", "تحديث {1}"},
    {"title.plain", "تحديث"},

    {"checking.heading", "جارٍ البحث عن تحديثات..."},
    {"checking.text", "جارٍ الاستعلام من خادم التحديث عن أحدث إصدار."},

    {"offer.heading.named", "يتوفر الآن {1} {2}."},
    {"offer.heading.plain", "يتوفر الآن الإصدار {1}."},
    {"offer.installed", "الإصدار المثبّت لديك هو {1}."},
    {"offer.installed.required", "الإصدار المثبّت لديك هو {1}. هذا التحديث إلزامي."},
    {"ready.heading.named", "أصبح {1} {2} جاهزاً للتثبيت."},
    {"ready.heading.plain", "أصبح الإصدار {1} جاهزاً للتثبيت."},
    {"notes.heading", "ما الجديد:"},

    {"downloading.heading.named", "جارٍ تنزيل {1} {2}..."},
    {"downloading.heading.plain", "جارٍ تنزيل الإصدار {1}..."},
    {"downloading.starting", "جارٍ بدء التنزيل..."},
    {"progress.total.rate.left", "{1} من {2}، {3}، {4}، يتبقى {5}"},
    {"progress.total.rate", "{1} من {2}، {3}، {4}"},
    {"progress.total", "{1} من {2}، {3}"},
    {"progress.rate", "{1}، {2}"},
    {"size.bytes", "{1} بايت"},
    {"size.kib", "{1} كيلوبايت"},
    {"size.mib", "{1} ميغابايت"},
    {"size.gib", "{1} غيغابايت"},
    {"size.tib", "{1} تيرابايت"},
    {"rate", "{1}/ثانية"},
    {"percent", "{1}%"},

    {"verifying.heading", "جارٍ التحقق من التحديث..."},
    {"verifying.text", "جارٍ التأكد من أن الحزمة هي نفسها المذكورة في البيان."},
    {"waiting.heading", "في انتظار إغلاق التطبيق..."},
    {"waiting.text", "سيتم تثبيت التحديث بمجرد انتهاء العملية {1}."},
    {"installing.heading.named", "جارٍ تثبيت {1} {2}..."},
    {"installing.heading.plain", "جارٍ تثبيت الإصدار {1}..."},
    {"installing.text", "برنامج التثبيت قيد التشغيل؛ قد يستغرق ذلك بضع دقائق."},
    {"stopping", "جارٍ الإيقاف..."},

    {"installed.heading.named", "تم تثبيت {1} {2}."},
    {"installed.heading.plain", "تم تثبيت الإصدار {1}."},
    {"installed.text", "انتهى برنامج التثبيت بنجاح."},
    {"restart.heading", "أعد التشغيل لإنهاء التحديث"},
    {"restart.text.named", "تم تثبيت {1} {2}؛ ويجب إعادة تشغيل Windows لإنهاء التحديث."},
    {"restart.text.plain", "تم تثبيت الإصدار {1}؛ ويجب إعادة تشغيل Windows لإنهاء التحديث."},
    {"restart.failed", "تعذّرت إعادة تشغيل Windows (الخطأ {1}). أعد تشغيل الكمبيوتر من قائمة "
                       "ابدأ لإنهاء التحديث."},
    {"uptodate.heading.named", "لديك أحدث إصدار من {1}."},
    {"uptodate.heading.plain", "لديك أحدث إصدار من هذا التطبيق."},
    {"uptodate.text", "الإصدار المثبّت لديك هو {1}، وأحدث إصدار هو {2}."},
    {"uptodate.rollout", "يجري طرح الإصدار {1} على مراحل، وسيصل إلى هذا الكمبيوتر لاحقاً."},
    {"uptodate.newer.windows",
     "يتطلب الإصدار {1} نظام Windows {2} أو أحدث، بينما يعمل هذا الكمبيوتر بالإصدار {3}."},
    {"downloaded.heading.named", "تم تنزيل {1} {2}."},
    {"downloaded.heading.plain", "تم تنزيل الإصدار {1}."},
    {"downloaded.text", "موقع الحزمة: {1}"},

    {"failed.usage.heading", "تعذّر بدء التحديث."},
    {"failed.usage.advice",
     "شغّل التطبيق برنامج التحديث بخيارات لا يفهمها؛ أبلغ ناشر التطبيق بذلك."},
    {"failed.fetch.heading", "تعذّر الوصول إلى خادم التحديث."},
    {"failed.fetch.advice", "تحقق من الاتصال بالإنترنت وأعد المحاولة لاحقاً."},
    {"failed.manifest.heading", "لا يمكن استخدام معلومات التحديث."},
    {"failed.manifest.advice", "أعد المحاولة لاحقاً؛ وإذا تكرر ذلك، فأبلغ ناشر التطبيق."},
    {"failed.download.heading", "تعذّر تنزيل التحديث."},
    {"failed.download.advice",
     "تحقق من الاتصال بالإنترنت ومن المساحة الحرة على القرص، ثم أعد المحاولة."},
    {"failed.install.heading", "تعذّر تثبيت التحديث."},
    {"failed.install.advice",
     "أغلق عمليات التثبيت الأخرى وأعد المحاولة؛ وإذا تكرر ذلك، فأبلغ ناشر التطبيق."},
    {"failed.cancelled.heading", "تم إيقاف التحديث."},
    {"failed.cancelled.advice", "شغّل التحديث مرة أخرى لإكماله."},
    {"failed.refused.heading", "تم رفض التحديث لدواعٍ أمنية."},
    {"failed.refused.advice",
     "لم يجتز التحديث فحوص الأمان، لذا لم يُثبَّت أي شيء؛ أبلغ ناشر التطبيق بذلك."},
    {"failed.other.heading", "توقف التحديث."},
    {"failed.other.advice", "أعد المحاولة لاحقاً."},
    {"failed.details", "التفاصيل: {1}"},
    {"failed.exit.code", "رمز الخروج {1}"},

    {"consent.heading.named", "هل تريد أن يبحث {1} عن تحديثات تلقائياً؟"},
    {"consent.heading.plain", "هل تريد أن يبحث هذا التطبيق عن تحديثات تلقائياً؟"},
    {"consent.text", "سيستعلم من خادم التحديث من حين لآخر ويعرض عليك كل إصدار جديد، والقرار "
                     "لك في تثبيته."},

    {"button.install.now", "&تثبيت الآن"},
    {"button.skip.version", "تخطي &هذا الإصدار"},
    {"button.remind.later", "&ذكّرني لاحقاً"},
    {"button.restart.now", "إعادة الت&شغيل الآن"},
    {"button.later", "&لاحقاً"},
    {"button.check.automatically", "البحث &تلقائياً"},
    {"button.dont.check", "&عدم البحث"},
    {"button.ask.later", "اسألني &لاحقاً"},
    {"button.cancel", "إلغاء الأمر"},
    {"button.close", "إ&غلاق"},

    {"warning.not.authenticated",
     "لم تتم المصادقة: لم يقدّم التطبيق مفتاحاً عاماً، لذا لا يتم التحقق من مصدر معلومات "
     "التحديث."},
    {"warning.allow.unsigned",
     "معلومات التحديث غير مصادق عليها (--allow-unsigned): أي شخص يستطيع تغييرها يمكنه أن يحدد "
     "ما سيتم تثبيته."},
    {"warning.no.size", "لا تذكر معلومات التحديث الحجم؛ ولا يمكن تنزيل أي شيء حتى يضيفه الناشر."},
    {"warning.no.expiry",
     "ليس لمعلومات التحديث الموقّعة تاريخ انتهاء صلاحية، لذا يمكن إعادة إرسال نسخة قديمة "
     "منها؛ اطلب من الناشر تعيين هذا التاريخ."},
    {"warning.product",
     "معلومات التحديث مخصصة للمنتج \"{1}\"، لكن التطبيق لم يحدد المنتج الذي يمثله؛ ويجب أن "
     "يمرر --product {1}."},
    {"warning.retry", "فشل في الشبكة؛ ستتم إعادة المحاولة ({1} من {2}) بعد {3} ثانية."},
    {"warning.skip.not.saved", "تعذّر حفظ اختيار تخطي هذا الإصدار؛ وسيُعرض عليك مرة أخرى."},
    {"warning.state.not.saved", "تعذّر حفظ إعدادات التحديث؛ وسيستمر التحديث بدونها."},
    {"warning.relaunch.failed", "تعذّر تشغيل التطبيق مرة أخرى؛ شغّله بنفسك."},
    {"text.not.utf8", "(هذا النص ليس بترميز UTF-8 صالح.)"},
};

} // namespace

extern const Table kTextsAr = {"ar", true, kEntries, std::size(kEntries)};

} // namespace hovrel::language
