package demo;
/** Javadoc •\ */
public class Main {
  public static void main(String[] args) {
    String s = "ƒ\\"";  // trail 0x5C
    int n = 0xFF + 10;
    char c = 'x';
  }
}
