// Stand-in for the seal tool in the tests: writes the seal file of a
// declaration document and nothing for other files. IHASH_STUB_MODE changes
// its behaviour: "fail" writes nothing and exits 2; "exit3" seals and exits 3;
// "drop" deletes the file it was given. IHASH_STUB_LOG names a file that gets
// one line per call with the argument received.
import java.io.FileWriter;
import java.io.IOException;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.Paths;

public class IHash {
  public static void main(String[] args) throws IOException {
    String mode = System.getenv().getOrDefault("IHASH_STUB_MODE", "");
    String log = System.getenv("IHASH_STUB_LOG");
    if (log != null) {
      try (FileWriter w = new FileWriter(log, true)) {
        w.write((args.length > 0 ? args[0] : "") + "\n");
      }
    }
    if (args.length != 1) System.exit(64);
    Path file = Paths.get(args[0]);
    if (mode.equals("fail")) System.exit(2);
    if (mode.equals("drop")) {
      Files.deleteIfExists(file);
      return;
    }
    String name = file.getFileName().toString();
    if (name.endsWith(".xml") && !name.equals("iddeclaracoes.xml")) {
      Path conf = file.resolveSibling(name.substring(0, name.length() - 4) + ".conf");
      Files.write(conf, ("sealed " + Files.size(file) + "\n").getBytes("UTF-8"));
    }
    if (mode.equals("exit3")) System.exit(3);
  }
}
