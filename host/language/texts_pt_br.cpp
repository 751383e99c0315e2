// Brazilian Portuguese. Keys and placeholders as in texts_en.cpp. The
// product's name has no known gender, so sentences keep it out of
// agreement ("A instalação de {1} foi concluída", not "{1} foi instalado").

#include "texts.h"

#include <iterator>

namespace hovrel::language {

namespace {

const Entry kEntries[] = {
    {"title.named", "Atualização de {1}"},
    {"title.plain", "Atualização"},

    {"checking.heading", "Verificando se há atualizações..."},
    {"checking.text", "Consultando o servidor de atualizações sobre a versão mais recente."},

    {"offer.heading.named", "{1} {2} está disponível."},
    {"offer.heading.plain", "A versão {1} está disponível."},
    {"offer.installed", "Versão instalada: {1}."},
    {"offer.installed.required", "Versão instalada: {1}. Esta atualização é obrigatória."},
    {"ready.heading.named", "Tudo pronto para instalar {1} {2}."},
    {"ready.heading.plain", "Tudo pronto para instalar a versão {1}."},
    {"notes.heading", "Novidades:"},

    {"downloading.heading.named", "Baixando {1} {2}..."},
    {"downloading.heading.plain", "Baixando a versão {1}..."},
    {"downloading.starting", "Iniciando o download..."},
    {"progress.total.rate.left", "{1} de {2}, {3}, {4}, faltam {5}"},
    {"progress.total.rate", "{1} de {2}, {3}, {4}"},
    {"progress.total", "{1} de {2}, {3}"},
    {"progress.rate", "{1}, {2}"},
    {"size.bytes", "{1} B"},
    {"size.kib", "{1} KiB"},
    {"size.mib", "{1} MiB"},
    {"size.gib", "{1} GiB"},
    {"size.tib", "{1} TiB"},
    {"rate", "{1}/s"},
    {"percent", "{1}%"},

    {"verifying.heading", "Verificando a atualização..."},
    {"verifying.text", "Verificando se o pacote é o indicado no manifesto."},
    {"waiting.heading", "Aguardando o aplicativo fechar..."},
    {"waiting.text", "A atualização será instalada assim que o processo {1} terminar."},
    {"installing.heading.named", "Instalando {1} {2}..."},
    {"installing.heading.plain", "Instalando a versão {1}..."},
    {"installing.text", "O instalador está em execução; isso pode levar alguns minutos."},
    {"stopping", "Parando..."},

    {"installed.heading.named", "A instalação de {1} {2} foi concluída."},
    {"installed.heading.plain", "A instalação da versão {1} foi concluída."},
    {"installed.text", "O instalador foi concluído com êxito."},
    {"restart.heading", "Reinicie para concluir a atualização"},
    {"restart.text.named",
     "Para concluir a instalação de {1} {2}, o Windows precisa ser reiniciado."},
    {"restart.text.plain",
     "Para concluir a instalação da versão {1}, o Windows precisa ser reiniciado."},
    {"restart.failed", "Não foi possível reiniciar o Windows (erro {1}). Reinicie o computador "
                       "pelo menu Iniciar para concluir a atualização."},
    {"uptodate.heading.named", "{1} já está na versão mais recente."},
    {"uptodate.heading.plain", "Este aplicativo está atualizado."},
    {"uptodate.text", "Versão instalada: {1}; a mais recente é a {2}."},
    {"uptodate.rollout",
     "A versão {1} está sendo distribuída aos poucos e chegará a este computador mais tarde."},
    {"uptodate.newer.windows",
     "A versão {1} requer o Windows {2} ou posterior; este computador tem a versão {3}."},
    {"downloaded.heading.named", "O download de {1} {2} foi concluído."},
    {"downloaded.heading.plain", "O download da versão {1} foi concluído."},
    {"downloaded.text", "Local do pacote: {1}"},

    {"failed.usage.heading", "Não foi possível iniciar a atualização."},
    {"failed.usage.advice", "O aplicativo iniciou o atualizador com opções que este não reconhece; "
                            "informe o desenvolvedor do aplicativo."},
    {"failed.fetch.heading", "Não foi possível acessar o servidor de atualizações."},
    {"failed.fetch.advice", "Verifique a conexão com a Internet e tente novamente mais tarde."},
    {"failed.manifest.heading", "As informações da atualização não podem ser usadas."},
    {"failed.manifest.advice", "Tente novamente mais tarde; se isso continuar acontecendo, informe "
                               "o desenvolvedor do aplicativo."},
    {"failed.download.heading", "Não foi possível baixar a atualização."},
    {"failed.download.advice",
     "Verifique a conexão com a Internet e o espaço livre em disco e tente novamente."},
    {"failed.install.heading", "Não foi possível instalar a atualização."},
    {"failed.install.advice", "Feche outras instalações e tente novamente; se isso continuar "
                              "acontecendo, informe o desenvolvedor do aplicativo."},
    {"failed.cancelled.heading", "A atualização foi cancelada."},
    {"failed.cancelled.advice", "Execute a atualização novamente para concluí-la."},
    {"failed.refused.heading", "A atualização foi recusada por segurança."},
    {"failed.refused.advice", "Ela não passou nas verificações de segurança, então nada foi "
                              "instalado; informe o desenvolvedor do aplicativo."},
    {"failed.other.heading", "A atualização foi interrompida."},
    {"failed.other.advice", "Tente novamente mais tarde."},
    {"failed.details", "Detalhes: {1}"},
    {"failed.exit.code", "Código de saída {1}"},

    {"consent.heading.named", "Deseja que {1} verifique automaticamente se há atualizações?"},
    {"consent.heading.plain",
     "Deseja que este aplicativo verifique automaticamente se há atualizações?"},
    {"consent.text", "O aplicativo consulta o servidor de atualizações de tempos em tempos e "
                     "oferece cada nova versão; você decide se quer instalá-la."},

    {"button.install.now", "&Instalar agora"},
    {"button.skip.version", "I&gnorar esta versão"},
    {"button.remind.later", "&Lembrar-me mais tarde"},
    {"button.restart.now", "&Reiniciar agora"},
    {"button.later", "&Mais tarde"},
    {"button.check.automatically", "&Sim, automaticamente"},
    {"button.dont.check", "&Não verificar"},
    {"button.ask.later", "&Perguntar mais tarde"},
    {"button.cancel", "Cancelar"},
    {"button.close", "&Fechar"},

    {"warning.not.authenticated",
     "Não autenticado: o aplicativo não forneceu uma chave pública, então a origem das informações "
     "da atualização não é verificada."},
    {"warning.allow.unsigned",
     "As informações da atualização não são autenticadas (--allow-unsigned): quem puder alterá-las "
     "escolhe o que será instalado."},
    {"warning.no.size", "As informações da atualização não indicam um tamanho; nada pode ser "
                        "baixado até que o desenvolvedor o adicione."},
    {"warning.no.expiry",
     "As informações assinadas da atualização não têm data de validade, então uma cópia antiga "
     "poderia ser reapresentada; peça ao desenvolvedor que defina uma."},
    {"warning.product", "As informações da atualização são do produto “{1}”, mas o aplicativo não "
                        "informou de qual produto se trata; ele deveria passar --product {1}."},
    {"warning.retry", "Falha na rede; nova tentativa ({1} de {2}) em {3} s."},
    {"warning.skip.not.saved",
     "Não foi possível salvar a opção de ignorar esta versão; ela será oferecida novamente."},
    {"warning.state.not.saved",
     "Não foi possível salvar as configurações da atualização; a atualização continua sem elas."},
    {"warning.relaunch.failed",
     "Não foi possível iniciar o aplicativo novamente; inicie-o você mesmo."},
    {"text.not.utf8", "(Este texto não é UTF-8 válido.)"},
};

} // namespace

extern const Table kTextsPtBr = {"pt-BR", false, kEntries, std::size(kEntries)};

} // namespace hovrel::language
