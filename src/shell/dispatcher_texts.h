// The operator's texts of the main-menu dispatcher, in one place, as UTF-8. They
// are turned into code page 850 (core::Cp850) where they are handed to a
// MessageSink or a Prompts.
#ifndef DODU_SHELL_DISPATCHER_TEXTS_H_
#define DODU_SHELL_DISPATCHER_TEXTS_H_

namespace dodu::shell::texts {

inline constexpr char kNotAvailable[] = "Opção não disponível nesta versão";

// AVISOSRF
inline constexpr char kNoOfficialFolder[] =
    "Preencha abaixo em Pasta do IRPF a pasta do programa da receita";
inline constexpr char kAvoidOpenProgram1[] =
    "Evite enviar declarações para a Receita com o IRPF sendo";
inline constexpr char kAvoidOpenProgram2[] =
    "usado. Ele aberto poderá causar problemas com os dados.";

// 22
inline constexpr char kTransferTitle[] = "Transferir declarações";
inline constexpr char kTransferAlone1[] = "Para usar a transferência é preciso estar só. ";
inline constexpr char kTransferAlone2[] = "Se equipamento está na rede fique só em um terminal";
inline constexpr char kTransferAlone3[] = "saindo do programa nos demais.";

// 26
inline constexpr char kSaveIntervalTitle[] = "Tempo de gravação ";
inline constexpr char kSaveIntervalPrompt[] = "Tempo para gravar em minutos";

// 36
inline constexpr char kMenuNewTitle[] = "Tela Atual com menu Novo";
inline constexpr char kMenuOldTitle[] = "Tela Atual com menu Antigo";
inline constexpr char kKeepScreen[] = "Mantém a Tela com ";
inline constexpr char kChangeScreen[] = "Muda a tela para ";
inline constexpr char kClosingTitle[] = "Configurado: Declaração ao terminar ";
inline constexpr char kToMainMenu[] = " vai para o menu inicial";
inline constexpr char kStayInSelection[] = " fica na seleção";
inline constexpr char kKeep[] = "Mantém ";
inline constexpr char kChangeTo[] = "Muda para ";

// 40 (1)
inline constexpr char kPostcodeIs[] = "A busca do CEP está ";

// 54
inline constexpr char kLinesPrompt[] = "Informe nro. de linhas da folha a ser impressa:";
inline constexpr char kLinesTitle[] = "Número entre 50 a 66";
inline constexpr char kLinesOutOfRange[] = "Número esta fora dos limites. Assumido 60";

// 64, 65, 66
inline constexpr char kStatusToTransferPrompt[] =
    "Informe o código do Estatus para declaração transferida! ";
inline constexpr char kOnlyStatus1[] = "A partir de agora somente as declarações com o Status ";
inline constexpr char kOnlyStatus2[] = "serão transferidas para o IRPF ao terminar a declaração";
inline constexpr char kNoneTransferred1[] = "A partir de agora nenhuma declaração será transferida";
inline constexpr char kNoneTransferred2[] = " para o IRPF ao terminar a declaração";
inline constexpr char kAllTransferred1[] =
    "A partir de agora todas as declarações independente do status";
inline constexpr char kAllTransferred2[] =
    "serão transferidas para o IRPF ao terminar a declaração";
inline constexpr char kStatusAfterSending[] =
    "Após o envio deseja que o Estatus passe para transmitidas?";
inline constexpr char kStatusSentPrompt[] =
    "Informe o código do Estatus de declaração transmitidas? ";

// 77
inline constexpr char kCompressor1[] = "O programa para compactar esta configurado para ser ";
inline constexpr char kCompressor2[] = "usado em processador de ";

}  // namespace dodu::shell::texts

#endif  // DODU_SHELL_DISPATCHER_TEXTS_H_
