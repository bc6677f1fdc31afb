/* A program that only carries its version resource. */
int main(void) {
    return 0;
}
