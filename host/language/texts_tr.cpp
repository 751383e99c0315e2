// Turkish. Keys and placeholders as in texts_en.cpp.

#include "texts.h"

#include <iterator>

namespace hovrel::language {

namespace {

const Entry kEntries[] = {
    {"title.named", "{1} güncelleştirmesi"},
    {"title.plain", "Güncelleştirme"},

    {"checking.heading", "Güncelleştirmeler denetleniyor..."},
    {"checking.text", "Güncelleştirme sunucusundan en son sürüm bilgisi alınıyor."},

    {"offer.heading.named", "{1} {2} kullanılabilir."},
    {"offer.heading.plain", "{1} sürümü kullanılabilir."},
    {"offer.installed", "Yüklü sürüm: {1}."},
    {"offer.installed.required", "Yüklü sürüm: {1}. Bu güncelleştirme zorunludur."},
    {"ready.heading.named", "{1} {2} yüklenmeye hazır."},
    {"ready.heading.plain", "{1} sürümü yüklenmeye hazır."},
    {"notes.heading", "Yenilikler:"},

    {"downloading.heading.named", "{1} {2} indiriliyor..."},
    {"downloading.heading.plain", "{1} sürümü indiriliyor..."},
    {"downloading.starting", "İndirme başlatılıyor..."},
    {"progress.total.rate.left", "{1} / {2}, {3}, {4}, {5} kaldı"},
    {"progress.total.rate", "{1} / {2}, {3}, {4}"},
    {"progress.total", "{1} / {2}, {3}"},
    {"progress.rate", "{1}, {2}"},
    {"size.bytes", "{1} bayt"},
    {"size.kib", "{1} KiB"},
    {"size.mib", "{1} MiB"},
    {"size.gib", "{1} GiB"},
    {"size.tib", "{1} TiB"},
    {"rate", "{1}/sn"},
    {"percent", "%{1}"},

    {"verifying.heading", "Güncelleştirme doğrulanıyor..."},
    {"verifying.text", "Paketin, bildirim dosyasında belirtilen paket olduğu denetleniyor."},
    {"waiting.heading", "Uygulamanın kapanması bekleniyor..."},
    {"waiting.text", "Güncelleştirme, {1} numaralı işlem sona erince yüklenecek."},
    {"installing.heading.named", "{1} {2} yükleniyor..."},
    {"installing.heading.plain", "{1} sürümü yükleniyor..."},
    {"installing.text", "Yükleyici çalışıyor; bu işlem birkaç dakika sürebilir."},
    {"stopping", "Durduruluyor..."},

    {"installed.heading.named", "{1} {2} yüklendi."},
    {"installed.heading.plain", "{1} sürümü yüklendi."},
    {"installed.text", "Yükleyici başarıyla tamamlandı."},
    {"restart.heading", "Güncelleştirmeyi tamamlamak için yeniden başlatın"},
    {"restart.text.named",
     "{1} {2} yüklendi; güncelleştirmenin tamamlanması için Windows'un yeniden başlatılması "
     "gerekiyor."},
    {"restart.text.plain",
     "{1} sürümü yüklendi; güncelleştirmenin tamamlanması için Windows'un yeniden başlatılması "
     "gerekiyor."},
    {"restart.failed", "Windows yeniden başlatılamadı (hata {1}). Güncelleştirmeyi tamamlamak "
                       "için bilgisayarı Başlat menüsünden yeniden başlatın."},
    {"uptodate.heading.named", "{1} güncel."},
    {"uptodate.heading.plain", "Bu uygulama güncel."},
    {"uptodate.text", "Yüklü sürüm: {1}; en son sürüm: {2}."},
    {"uptodate.rollout",
     "{1} sürümü aşamalı olarak dağıtılıyor ve bu bilgisayara daha sonra ulaşacak."},
    {"uptodate.newer.windows",
     "{1} sürümü Windows {2} veya üstünü gerektiriyor; bu bilgisayarda {3} yüklü."},
    {"downloaded.heading.named", "{1} {2} indirildi."},
    {"downloaded.heading.plain", "{1} sürümü indirildi."},
    {"downloaded.text", "Paketin konumu: {1}"},

    {"failed.usage.heading", "Güncelleştirme başlatılamadı."},
    {"failed.usage.advice", "Uygulama, güncelleştiriciyi tanımadığı seçeneklerle başlattı; "
                            "durumu uygulamanın yayımcısına bildirin."},
    {"failed.fetch.heading", "Güncelleştirme sunucusuna ulaşılamadı."},
    {"failed.fetch.advice", "İnternet bağlantısını denetleyin ve daha sonra yeniden deneyin."},
    {"failed.manifest.heading", "Güncelleştirme bilgileri kullanılamıyor."},
    {"failed.manifest.advice",
     "Daha sonra yeniden deneyin; sorun sürerse uygulamanın yayımcısına bildirin."},
    {"failed.download.heading", "Güncelleştirme indirilemedi."},
    {"failed.download.advice",
     "İnternet bağlantısını ve boş disk alanını denetleyin, sonra yeniden deneyin."},
    {"failed.install.heading", "Güncelleştirme yüklenemedi."},
    {"failed.install.advice", "Diğer yüklemeleri kapatıp yeniden deneyin; sorun sürerse "
                              "uygulamanın yayımcısına bildirin."},
    {"failed.cancelled.heading", "Güncelleştirme durduruldu."},
    {"failed.cancelled.advice", "Tamamlamak için güncelleştirmeyi yeniden çalıştırın."},
    {"failed.refused.heading", "Güncelleştirme güvenlik nedeniyle reddedildi."},
    {"failed.refused.advice", "Güvenlik denetimlerini geçemediği için hiçbir şey yüklenmedi; "
                              "uygulamanın yayımcısına bildirin."},
    {"failed.other.heading", "Güncelleştirme yarıda kaldı."},
    {"failed.other.advice", "Daha sonra yeniden deneyin."},
    {"failed.details", "Ayrıntılar: {1}"},
    {"failed.exit.code", "Çıkış kodu {1}"},

    {"consent.heading.named", "{1} güncelleştirmeleri otomatik olarak denetlesin mi?"},
    {"consent.heading.plain", "Bu uygulama güncelleştirmeleri otomatik olarak denetlesin mi?"},
    {"consent.text", "Uygulama zaman zaman güncelleştirme sunucusuna sorar ve her yeni sürümü "
                     "size sunar; yüklenip yüklenmeyeceğine siz karar verirsiniz."},

    {"button.install.now", "Şimdi &yükle"},
    {"button.skip.version", "Bu sürümü &atla"},
    {"button.remind.later", "&Daha sonra anımsat"},
    {"button.restart.now", "Şimdi &yeniden başlat"},
    {"button.later", "&Daha sonra"},
    {"button.check.automatically", "&Otomatik denetle"},
    {"button.dont.check", "&Denetleme"},
    {"button.ask.later", "Daha sonra &sor"},
    {"button.cancel", "İptal"},
    {"button.close", "&Kapat"},

    {"warning.not.authenticated",
     "Kimlik doğrulanmadı: Uygulama ortak anahtar vermediği için güncelleştirme bilgilerinin "
     "kaynağı denetlenmiyor."},
    {"warning.allow.unsigned",
     "Güncelleştirme bilgilerinin kimliği doğrulanmadı (--allow-unsigned): Bu bilgileri "
     "değiştirebilen herkes neyin yükleneceğini belirleyebilir."},
    {"warning.no.size", "Güncelleştirme bilgilerinde boyut belirtilmemiş; yayımcı boyutu "
                        "ekleyene kadar hiçbir şey indirilemez."},
    {"warning.no.expiry",
     "İmzalı güncelleştirme bilgilerinin son geçerlilik tarihi yok, bu nedenle eski bir kopya "
     "yeniden sunulabilir; yayımcıdan bir tarih belirlemesini isteyin."},
    {"warning.product",
     "Güncelleştirme bilgileri \"{1}\" ürünü için, ancak uygulama hangi ürün olduğunu "
     "belirtmedi; uygulamanın --product {1} geçirmesi gerekir."},
    {"warning.retry", "Ağ hatası; {3} sn sonra yeniden denenecek ({1} / {2})."},
    {"warning.skip.not.saved", "Bu sürümü atlama tercihi kaydedilemedi; sürüm yeniden önerilecek."},
    {"warning.state.not.saved", "Güncelleştirme ayarları kaydedilemedi; güncelleştirme bu "
                                "ayarlar olmadan devam ediyor."},
    {"warning.relaunch.failed", "Uygulama yeniden başlatılamadı; lütfen kendiniz başlatın."},
    {"text.not.utf8", "(Bu metin geçerli UTF-8 değil.)"},
};

} // namespace

extern const Table kTextsTr = {"tr", false, kEntries, std::size(kEntries)};

} // namespace hovrel::language
